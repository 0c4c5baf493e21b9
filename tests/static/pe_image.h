// What the static checks read from a PE image: the facts the mingw objdump
// prints (format, subsystem, imports, resource types) and the raw bytes.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace statics {

struct PeImage {
  bool loaded = false;
  std::string error;
  std::string bytes;                    // the whole file
  std::string magic;                    // "PE32" or "PE32+"
  unsigned subsystem = 0;               // 2 = Windows GUI, 3 = console
  std::set<std::string> importedDlls;   // lower case
  std::set<std::string> importedNames;  // function names as imported
  std::set<unsigned> resourceTypes;     // top-level resource type ids (24 = RT_MANIFEST)
};

PeImage LoadPeImage(const std::string& path);
// Parses objdump -p output (separate from loading, so it can be tested).
void ParseObjdumpPrivateHeaders(const std::string& text, PeImage& image);

// The embedded manifest's text (from "<assembly" to "</assembly>"), or "".
std::string EmbeddedManifest(const PeImage& image);
// True when the text occurs in the image as single bytes or as UTF-16LE.
bool ContainsText(const PeImage& image, const std::string& text);

}  // namespace statics
