#include "pe_resources.h"

namespace statics {
namespace {

std::uint32_t Read16(const std::string& bytes, std::size_t at) {
  if (at + 2 > bytes.size()) return 0;
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t Read32(const std::string& bytes, std::size_t at) { return Read16(bytes, at) | Read16(bytes, at + 2) << 16; }

struct Section {
  std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

// File offset of a relative virtual address, or 0 when no section holds it.
std::size_t OffsetOf(const std::string& image, std::uint32_t rva) {
  const std::size_t pe = Read32(image, 0x3C);
  const std::uint32_t sections = Read16(image, pe + 6);
  const std::size_t table = pe + 24 + Read16(image, pe + 20);
  for (std::uint32_t i = 0; i < sections; ++i) {
    const std::size_t at = table + 40 * i;
    Section s{Read32(image, at + 12), Read32(image, at + 8), Read32(image, at + 20), Read32(image, at + 16)};
    const std::uint32_t size = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
    if (rva >= s.virtualAddress && rva < s.virtualAddress + size) return s.rawOffset + (rva - s.virtualAddress);
  }
  return 0;
}

// The first entry of a resource directory whose id matches (any id when
// wanted is 0): its offset field, or 0.
std::uint32_t DirectoryEntry(const std::string& image, std::size_t directory, unsigned wanted) {
  const std::uint32_t named = Read16(image, directory + 12);
  const std::uint32_t ids = Read16(image, directory + 14);
  for (std::uint32_t i = 0; i < named + ids; ++i) {
    const std::size_t entry = directory + 16 + 8 * i;
    const std::uint32_t name = Read32(image, entry);
    if (wanted == 0 || (!(name & 0x80000000u) && name == wanted)) return Read32(image, entry + 4);
  }
  return 0;
}

// UTF-16LE text up to its NUL, as UTF-8 (the version strings hold Latin-1 at most here, plus the ©).
std::string Utf16Text(const std::string& bytes, std::size_t at, std::size_t end, std::size_t& after) {
  std::string text;
  std::size_t i = at;
  for (; i + 1 < end; i += 2) {
    const std::uint32_t c = Read16(bytes, i);
    if (c == 0) {
      i += 2;
      break;
    }
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += static_cast<char>(0xC0 | c >> 6);
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      text += static_cast<char>(0xE0 | c >> 12);
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  after = i;
  return text;
}

std::size_t Align4(std::size_t at) { return (at + 3) & ~static_cast<std::size_t>(3); }

struct Node {
  std::size_t start, end;  // the whole node
  std::string key;
  std::size_t value;       // where its value starts
  std::uint32_t valueLength, type;
  std::size_t children;    // where its children start
};

bool ReadNode(const std::string& block, std::size_t at, std::size_t limit, Node& node) {
  const std::uint32_t length = Read16(block, at);
  if (length < 6 || at + length > limit) return false;
  node.start = at;
  node.end = at + length;
  node.valueLength = Read16(block, at + 2);
  node.type = Read16(block, at + 4);
  std::size_t afterKey;
  node.key = Utf16Text(block, at + 6, node.end, afterKey);
  node.value = Align4(afterKey);
  // Text values count UTF-16 characters, binary ones bytes.
  const std::size_t valueBytes = node.type == 1 ? 2 * node.valueLength : node.valueLength;
  node.children = Align4(node.value + valueBytes);
  return true;
}

}  // namespace

std::string FindResource(const std::string& image, unsigned typeId) {
  if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) return "";
  const std::size_t pe = Read32(image, 0x3C);
  if (image.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return "";
  const std::size_t optional = pe + 24;
  const bool pe32plus = Read16(image, optional) == 0x20B;
  const std::size_t dataDirectories = optional + (pe32plus ? 112 : 96);
  const std::uint32_t resourceRva = Read32(image, dataDirectories + 2 * 8);
  const std::size_t root = OffsetOf(image, resourceRva);
  if (resourceRva == 0 || root == 0) return "";
  std::uint32_t entry = DirectoryEntry(image, root, typeId);
  for (int level = 0; level < 2; ++level) {
    if (!(entry & 0x80000000u)) return "";
    entry = DirectoryEntry(image, root + (entry & 0x7FFFFFFFu), 0);
  }
  if (entry == 0 || (entry & 0x80000000u)) return "";
  const std::size_t dataEntry = root + entry;
  const std::size_t data = OffsetOf(image, Read32(image, dataEntry));
  const std::uint32_t size = Read32(image, dataEntry + 4);
  if (data == 0 || data + size > image.size()) return "";
  return image.substr(data, size);
}

VersionInfo ParseVersionInfo(const std::string& block) {
  VersionInfo info;
  Node root;
  if (!ReadNode(block, 0, block.size(), root) || root.key != "VS_VERSION_INFO" || root.valueLength < 52) return info;
  if (Read32(block, root.value) != 0xFEEF04BDu) return info;
  info.fileVersionMs = Read32(block, root.value + 8);
  info.fileVersionLs = Read32(block, root.value + 12);
  info.productVersionMs = Read32(block, root.value + 16);
  info.productVersionLs = Read32(block, root.value + 20);
  for (std::size_t at = root.children; at < root.end;) {
    Node child;
    if (!ReadNode(block, at, root.end, child)) break;
    for (std::size_t tableAt = child.children; tableAt < child.end;) {
      Node table;
      if (!ReadNode(block, tableAt, child.end, table)) break;
      if (child.key == "StringFileInfo") {
        for (std::size_t stringAt = table.children; stringAt < table.end;) {
          Node entry;
          if (!ReadNode(block, stringAt, table.end, entry)) break;
          std::size_t after;
          info.strings[table.key][entry.key] = Utf16Text(block, entry.value, entry.end, after);
          stringAt = Align4(entry.end);
        }
      } else if (child.key == "VarFileInfo" && table.key == "Translation" && table.valueLength >= 4) {
        info.translation = Read32(block, table.value);
      }
      tableAt = Align4(table.end);
    }
    at = Align4(child.end);
  }
  info.valid = true;
  return info;
}

std::string VersionText(std::uint32_t ms, std::uint32_t ls) {
  return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + "." +
         std::to_string(ls & 0xFFFF);
}

}  // namespace statics
