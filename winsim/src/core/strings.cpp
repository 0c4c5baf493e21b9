// String functions with the Windows-1252 rules of a French user locale.
#include <cstring>
#include <string>

#include <windows.h>

#include "core/trace.h"

using namespace winsim::detail;

namespace {

// Windows-1252 bytes 0x80-0x9F as UTF-16; 0 marks the five undefined bytes,
// which MultiByteToWideChar maps to the same code point.
const WCHAR kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned char Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

unsigned char Lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

int Length(LPCSTR text, int length) { return length < 0 ? static_cast<int>(std::strlen(text)) : length; }

// The text as the locale's comparison sees it: the soft hyphen weighs nothing,
// the ligatures æ, œ and ß weigh as the letters they stand for, and with
// NORM_IGNORECASE letters are folded to lower case.
std::string Collated(LPCSTR text, int length, DWORD flags) {
  std::string collated;
  for (int i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    const char *expansion = nullptr;
    switch (c) {
      case 0xAD: continue;
      case 0xC6: expansion = "AE"; break;
      case 0xE6: expansion = "ae"; break;
      case 0x8C: expansion = "OE"; break;
      case 0x9C: expansion = "oe"; break;
      case 0xDF: expansion = "ss"; break;
      default: break;
    }
    std::string letters = expansion ? std::string(expansion) : std::string(1, static_cast<char>(c));
    for (char letter : letters) {
      auto byte = static_cast<unsigned char>(letter);
      collated += static_cast<char>(flags & NORM_IGNORECASE ? Lower(byte) : byte);
    }
  }
  return collated;
}

}  // namespace

DWORD WINAPI CharUpperBuffA(LPSTR text, DWORD length) {
  for (DWORD i = 0; i < length; ++i) text[i] = static_cast<char>(Upper(static_cast<unsigned char>(text[i])));
  return length;
}

DWORD WINAPI CharLowerBuffA(LPSTR text, DWORD length) {
  for (DWORD i = 0; i < length; ++i) text[i] = static_cast<char>(Lower(static_cast<unsigned char>(text[i])));
  return length;
}

int WINAPI lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

// Equality follows the locale's rules (case, ignorable soft hyphen, ligatures);
// the order of unequal strings is that of their collated bytes, which is all
// the programs rely on.
int WINAPI CompareStringA(DWORD, DWORD flags, LPCSTR text1, int length1, LPCSTR text2, int length2) {
  Record("CompareStringA");
  if (!text1 || !text2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string a = Collated(text1, Length(text1, length1), flags);
  std::string b = Collated(text2, Length(text2, length2), flags);
  int order = a.compare(b);  // unsigned bytes: std::char_traits<char> compares as unsigned char
  return order == 0 ? CSTR_EQUAL : (order < 0 ? CSTR_LESS_THAN : CSTR_GREATER_THAN);
}

// A sort key as Windows lays it out: weights that are never 0 or 1, then the
// section separators (1) and the terminating 0. Each collated character weighs
// two bytes, taken from the byte CompareStringA compares, so two keys are
// equal exactly when the comparison answers CSTR_EQUAL.
int WINAPI LCMapStringA(DWORD, DWORD flags, LPCSTR source, int sourceLength, LPSTR destination,
                        int destinationLength) {
  Record("LCMapStringA");
  if (unsigned fault = InjectedFault("LCMapStringA")) {
    SetLastError(fault);
    return 0;
  }
  if (!source || sourceLength == 0 || destinationLength < 0 || (destinationLength > 0 && !destination) ||
      !(flags & LCMAP_SORTKEY)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char kSections[] = {1, 1, 1, 1, 0};
  std::string collated = Collated(source, Length(source, sourceLength), flags);
  int n = static_cast<int>(collated.size());
  int needed = 2 * n + static_cast<int>(sizeof kSections);
  if (destinationLength == 0) return needed;
  if (destinationLength < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  for (int i = 0; i < n; ++i) {
    auto c = static_cast<unsigned char>(collated[static_cast<std::size_t>(i)]);
    destination[2 * i] = static_cast<char>(2 + (c >> 4));
    destination[2 * i + 1] = static_cast<char>(2 + (c & 0x0F));
  }
  std::memcpy(destination + 2 * n, kSections, sizeof kSections);
  return needed;
}

int WINAPI MultiByteToWideChar(UINT, DWORD, LPCSTR text, int length, LPWSTR wide, int wideLength) {
  int n = length < 0 ? static_cast<int>(std::strlen(text)) + 1 : length;
  if (wideLength == 0) return n;
  if (wideLength < n) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  for (int i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    WCHAR mapped = c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : 0;
    wide[i] = mapped ? mapped : c;
  }
  return n;
}

int WINAPI WideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int wideLength, LPSTR text, int length, LPCSTR defaultChar,
                               LPBOOL usedDefault) {
  int n = wideLength;
  if (n < 0) {
    n = 0;
    while (wide[n]) ++n;
    ++n;
  }
  if (length == 0) return n;
  if (length < n) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (usedDefault) *usedDefault = FALSE;
  for (int i = 0; i < n; ++i) {
    WCHAR w = wide[i];
    char out = defaultChar ? *defaultChar : '?';
    bool mapped = w < 0x80 || (w >= 0xA0 && w < 0x100);
    if (mapped) out = static_cast<char>(w);
    // The five undefined bytes come back from the code points they map to.
    for (int k = 0; k < 32 && !mapped; ++k)
      if ((kHighControls[k] ? kHighControls[k] : 0x80 + k) == w) {
        out = static_cast<char>(0x80 + k);
        mapped = true;
      }
    if (!mapped && usedDefault) *usedDefault = TRUE;
    text[i] = out;
  }
  return n;
}
