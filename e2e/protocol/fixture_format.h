// Desktop fixtures: one icon per line, "x y caption", the caption escaped as in
// caption_escape.h (plain spaces allowed). Blank lines and lines starting with
// '#' are ignored. Shared by the test shell and the driver.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "caption_escape.h"

namespace e2e {

struct FixtureIcon {
  std::string caption;  // Windows-1252 bytes
  int x = 0;
  int y = 0;
};

inline bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0') return false;
  value = static_cast<int>(parsed);
  return true;
}

// Returns false and names the faulty line in `error` on malformed input.
inline bool ParseFixture(const std::string& text, std::vector<FixtureIcon>& icons, std::string& error) {
  icons.clear();
  std::string::size_type start = 0;
  int lineNumber = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string::size_type first = line.find(' ');
    const std::string::size_type second = first == std::string::npos ? first : line.find(' ', first + 1);
    FixtureIcon icon;
    if (second == std::string::npos || !ParseInt(line.substr(0, first), icon.x) ||
        !ParseInt(line.substr(first + 1, second - first - 1), icon.y) ||
        !UnescapeCaption(line.substr(second + 1), icon.caption)) {
      error = "fixture line " + std::to_string(lineNumber) + " is malformed";
      return false;
    }
    icons.push_back(icon);
  }
  return true;
}

}  // namespace e2e
