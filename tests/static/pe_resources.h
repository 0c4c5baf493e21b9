// Reads resources straight from a PE image's bytes: the resource directory
// walk (type, then name, then language) and the version resource's fields.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace statics {

// The data of the first resource of the given type id (its first name, its
// first language), or "" when there is none or the image is malformed.
std::string FindResource(const std::string& image, unsigned typeId);

struct VersionInfo {
  bool valid = false;
  std::uint32_t fileVersionMs = 0, fileVersionLs = 0;        // VS_FIXEDFILEINFO
  std::uint32_t productVersionMs = 0, productVersionLs = 0;
  std::map<std::string, std::map<std::string, std::string>> strings;  // table ("040C04E4") -> key -> value (UTF-8)
  std::uint32_t translation = 0;                             // language in the low word, code page in the high word
};

// Parses a VS_VERSIONINFO block (the RT_VERSION resource's data).
VersionInfo ParseVersionInfo(const std::string& block);

// "4.2.0.0" from the two halves of a fixed-info version.
std::string VersionText(std::uint32_t ms, std::uint32_t ls);

}  // namespace statics
