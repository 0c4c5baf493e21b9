#include "pe_image.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace statics {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

struct PipeCloser {
  void operator()(FILE* pipe) const { pclose(pipe); }
};

bool RunObjdump(const std::string& path, std::string& output) {
  const std::string command = std::string(MINGW32_OBJDUMP) + " -p '" + path + "' 2>&1";
  std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
  if (!pipe) return false;
  std::array<char, 4096> chunk;
  std::size_t got;
  while ((got = fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0) output.append(chunk.data(), got);
  return pclose(pipe.release()) == 0;
}

}  // namespace

void ParseObjdumpPrivateHeaders(const std::string& text, PeImage& image) {
  std::istringstream lines(text);
  std::string line;
  bool inImports = false;
  bool inResources = false;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "Magic") {
      std::string value, name;
      words >> value >> name;
      image.magic = name == "(PE32+)" ? "PE32+" : name == "(PE32)" ? "PE32" : name;
    } else if (first == "Subsystem") {
      std::string value;
      words >> value;
      image.subsystem = static_cast<unsigned>(std::stoul(value, nullptr, 16));
    } else if (line.find("DLL Name:") != std::string::npos) {
      image.importedDlls.insert(Lower(line.substr(line.find("DLL Name:") + 10)));
      inImports = true;
    } else if (inImports && !first.empty() && line.find("vma:") == std::string::npos) {
      // "\t<hint-rva>\t  <ordinal>  <name>"
      std::string ordinal, name;
      if (words >> ordinal >> name && std::isxdigit(static_cast<unsigned char>(first[0])) &&
          std::isdigit(static_cast<unsigned char>(ordinal[0]))) {
        image.importedNames.insert(name);
      }
    } else if (first.empty()) {
      inImports = false;
    }
    if (line.find("Resource Directory section") != std::string::npos) inResources = true;
    // Top-level type entries are indented by three columns: "010   Entry: ID: 0x000018, ..."
    if (inResources && line.size() > 12 && line.compare(3, 9, "   Entry:") == 0) {
      const std::string::size_type id = line.find("ID: 0x");
      if (id != std::string::npos) image.resourceTypes.insert(static_cast<unsigned>(std::stoul(line.substr(id + 4), nullptr, 16)));
    }
  }
}

PeImage LoadPeImage(const std::string& path) {
  PeImage image;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) {
    image.error = "cannot open " + path;
    return image;
  }
  image.bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  std::string output;
  if (!RunObjdump(path, output)) {
    image.error = "objdump failed on " + path + ": " + output.substr(0, 200);
    return image;
  }
  ParseObjdumpPrivateHeaders(output, image);
  image.loaded = true;
  return image;
}

std::string EmbeddedManifest(const PeImage& image) {
  const std::string::size_type start = image.bytes.find("<assembly");
  if (start == std::string::npos) return "";
  const std::string::size_type end = image.bytes.find("</assembly>", start);
  if (end == std::string::npos) return "";
  return image.bytes.substr(start, end + 11 - start);
}

bool ContainsText(const PeImage& image, const std::string& text) {
  if (image.bytes.find(text) != std::string::npos) return true;
  std::string wide;
  for (char c : text) {
    wide += c;
    wide += '\0';
  }
  return image.bytes.find(wide) != std::string::npos;
}

}  // namespace statics
