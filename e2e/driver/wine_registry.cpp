#include "wine_registry.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "wine_session.h"

namespace e2e {
namespace {

// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes.
const char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t Windows1252ToUnit(unsigned char c) {
  if (c >= 0x80 && c < 0xA0 && kHighControls[c - 0x80] != 0) return kHighControls[c - 0x80];
  return c;
}

char UnitToWindows1252(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) return static_cast<char>(unit);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == unit && unit != 0) return static_cast<char>(0x80 + i);
  }
  return '?';
}

std::u16string DecodeFile(const std::string& bytes) {
  std::u16string text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
  } else {
    for (unsigned char c : bytes) text += static_cast<char16_t>(c);
  }
  return text;
}

// Reads a quoted string starting after its opening quote; `pos` ends past the closing one.
bool ReadQuoted(const std::u16string& line, std::size_t& pos, std::u16string& out) {
  out.clear();
  while (pos < line.size()) {
    char16_t c = line[pos++];
    if (c == u'"') return true;
    if (c == u'\\' && pos < line.size()) {
      const char16_t escaped = line[pos++];
      if (escaped == u'n') c = u'\n';
      else if (escaped == u'r') c = u'\r';
      else if (escaped == u'0') c = 0;
      else c = escaped;
    }
    out += c;
  }
  return false;
}

bool ParseHexBytes(const std::u16string& text, std::string& bytes) {
  bytes.clear();
  std::string digits;
  for (char16_t c : text) {
    if (c == u',' || c == u' ' || c == u'\\') continue;
    if (c > 0x7F) return false;
    digits += static_cast<char>(c);
    if (digits.size() == 2) {
      bytes += static_cast<char>(std::strtol(digits.c_str(), nullptr, 16));
      digits.clear();
    }
  }
  return digits.empty();
}

std::string Utf16BytesToWindows1252(const std::string& bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return Utf16ToWindows1252(units);
}

bool ParseValueLine(const std::u16string& line, RegValue& value) {
  std::size_t pos = 0;
  std::u16string name;
  if (line[0] == u'@') {
    pos = 1;
  } else {
    pos = 1;
    if (!ReadQuoted(line, pos, name)) return false;
  }
  if (pos >= line.size() || line[pos] != u'=') return false;
  ++pos;
  value.name = Utf16ToWindows1252(name);
  const std::u16string rest = line.substr(pos);
  if (!rest.empty() && rest[0] == u'"') {
    std::size_t at = 1;
    std::u16string text;
    if (!ReadQuoted(rest, at, text)) return false;
    value.type = 1;
    value.data = Utf16ToWindows1252(text);
    return true;
  }
  if (rest.compare(0, 6, u"dword:") == 0) {
    const unsigned long number = std::strtoul(Utf16ToWindows1252(rest.substr(6)).c_str(), nullptr, 16);
    value.type = 4;
    value.data.clear();
    for (int i = 0; i < 4; ++i) value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
    return true;
  }
  if (rest.compare(0, 4, u"hex:") == 0) {
    value.type = 3;
    return ParseHexBytes(rest.substr(4), value.data);
  }
  if (rest.compare(0, 4, u"hex(") == 0) {
    const std::size_t close = rest.find(u"):");
    if (close == std::u16string::npos) return false;
    value.type = static_cast<int>(std::strtol(Utf16ToWindows1252(rest.substr(4, close - 4)).c_str(), nullptr, 16));
    if (!ParseHexBytes(rest.substr(close + 2), value.data)) return false;
    if (value.type == 1 || value.type == 2 || value.type == 7) value.data = Utf16BytesToWindows1252(value.data);
    return true;
  }
  return false;
}

std::string TemporaryExportPath() {
  char path[] = "/tmp/deskplan-regexport.XXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  return path;
}

}  // namespace

const RegValue* RegKey::Find(const std::string& name) const {
  for (const RegValue& value : values) {
    if (value.name == name) return &value;
  }
  return nullptr;
}

std::string Utf16ToWindows1252(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out += UnitToWindows1252(unit);
  return out;
}

std::string Windows1252ToUtf8(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    const char16_t unit = Windows1252ToUnit(c);
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit < 0x800) {
      out += static_cast<char>(0xC0 | (unit >> 6));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (unit >> 12));
      out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

bool ParseRegExport(const std::string& fileBytes, std::vector<RegKey>& keys, std::string& error) {
  keys.clear();
  const std::u16string text = DecodeFile(fileBytes);
  std::size_t start = 0;
  std::u16string line;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string piece = text.substr(start, end - start);
    start = end + 1;
    if (!piece.empty() && piece.back() == u'\r') piece.pop_back();
    // A trailing backslash continues a hex list on the next line.
    if (!piece.empty() && piece.back() == u'\\' && piece.find(u"=hex") != std::u16string::npos) {
      line += piece.substr(0, piece.size() - 1);
      continue;
    }
    if (!line.empty()) {
      std::size_t first = piece.find_first_not_of(u' ');
      line += first == std::u16string::npos ? u"" : piece.substr(first);
      if (!piece.empty() && piece.back() == u'\\') {
        line.pop_back();
        continue;
      }
      piece.swap(line);
      line.clear();
    }
    if (piece.empty() || piece.compare(0, 8, u"Windows ") == 0 || piece.compare(0, 8, u"REGEDIT4") == 0) continue;
    if (piece[0] == u'[') {
      if (piece.back() != u']') {
        error = "malformed key line";
        return false;
      }
      keys.push_back(RegKey{Utf16ToWindows1252(piece.substr(1, piece.size() - 2)), {}});
      continue;
    }
    RegValue value;
    if (keys.empty() || !ParseValueLine(piece, value)) {
      error = "malformed value line: " + Utf16ToWindows1252(piece);
      return false;
    }
    keys.back().values.push_back(value);
  }
  return true;
}

bool RegKeyExists(const std::string& key) {
  const ProgramResult result = RunProgram({WineLoaderFor("reg"), "reg", "query", Windows1252ToUtf8(key)},
                                          std::chrono::seconds(60));
  return !result.timedOut && result.exitCode == 0;
}

bool ExportRegistryTree(const std::string& key, std::vector<RegKey>& keys, std::string& error) {
  const std::string file = TemporaryExportPath();
  const ProgramResult result = RunProgram(
      {WineLoaderFor("reg"), "reg", "export", Windows1252ToUtf8(key), WindowsPath(file), "/y"},
      std::chrono::seconds(60));
  std::ifstream stream(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  std::remove(file.c_str());
  if (result.timedOut || result.exitCode != 0) {
    error = "reg export " + key + " failed with exit code " + std::to_string(result.exitCode);
    return false;
  }
  return ParseRegExport(bytes, keys, error);
}

bool AddRegValue(const std::string& key, const std::string& name, const std::string& type, const std::string& data) {
  const ProgramResult result =
      RunProgram({WineLoaderFor("reg"), "reg", "add", Windows1252ToUtf8(key), "/v", Windows1252ToUtf8(name), "/t",
                  type, "/d", Windows1252ToUtf8(data), "/f"},
                 std::chrono::seconds(60));
  return !result.timedOut && result.exitCode == 0;
}

}  // namespace e2e
