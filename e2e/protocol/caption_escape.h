// Captions travel between the test shell, its fixtures and the driver as
// printable ASCII: every byte outside '!'..'~', and the backslash itself, is
// written as \xHH. Decoding also accepts plain spaces, so fixture files stay
// readable. Shared by the win64 test shell and the Linux driver.
#pragma once

#include <string>

namespace e2e {

inline std::string EscapeCaption(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c > 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 0x0F];
    }
  }
  return out;
}

inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Returns false on a malformed escape.
inline bool UnescapeCaption(const std::string& text, std::string& bytes) {
  bytes.clear();
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes += text[i];
      continue;
    }
    if (i + 3 >= text.size()) return false;
    if (text[i + 1] != 'x') return false;
    const int high = HexDigitValue(text[i + 2]);
    const int low = HexDigitValue(text[i + 3]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return true;
}

}  // namespace e2e
