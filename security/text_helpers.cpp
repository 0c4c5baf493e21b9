#include "security/text_helpers.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
  // À to Þ, but × (0xD7) has no lower case.
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) table[c] = static_cast<unsigned char>(c + 32);
  table[0x8A] = 0x9A;  // Š
  table[0x8C] = 0x9C;  // Œ
  table[0x8E] = 0x9E;  // Ž
  table[0x9F] = 0xFF;  // Ÿ
  return table;
}

constexpr std::array<unsigned char, 256> kFoldTable = MakeFoldTable();

std::uint32_t Folded(std::uint32_t c) { return c < 256 ? kFoldTable[c] : c; }

template <class Text>
bool SamePrefix(const Text &text, const Text &prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    auto a = static_cast<std::uint32_t>(static_cast<typename std::make_unsigned<typename Text::value_type>::type>(text[i]));
    auto b =
        static_cast<std::uint32_t>(static_cast<typename std::make_unsigned<typename Text::value_type>::type>(prefix[i]));
    if (Folded(a) != Folded(b)) return false;
  }
  return true;
}

}  // namespace

unsigned char FoldCase(unsigned char c) { return kFoldTable[c]; }

bool SameText(const std::string &a, const std::string &b) { return a.size() == b.size() && SamePrefix(a, b); }
bool SameText(const WideString &a, const WideString &b) { return a.size() == b.size() && SamePrefix(a, b); }
bool TextStartsWith(const std::string &text, const std::string &prefix) { return SamePrefix(text, prefix); }
bool TextStartsWith(const WideString &text, const WideString &prefix) { return SamePrefix(text, prefix); }

WideString UpperCaseWide(WideString text) {
  for (auto &c : text) {
    if ((c >= 'a' && c <= 'z') || c == 0xE4 || c == 0xF6 || c == 0xFC) c = static_cast<WCHAR>(c - 32);
  }
  return text;
}

WideString WidenText(const std::string &text) {
  if (text.empty()) return WideString();
  const int length = static_cast<int>(text.size());
  int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  WideString wide(static_cast<std::size_t>(needed > 0 ? needed : 0), static_cast<WCHAR>(0));
  if (needed > 0 && MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], needed) == needed) return wide;
  return WideString();
}

std::string NarrowText(const WideString &text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  if (needed > 0 &&
      WideCharToMultiByte(CP_ACP, 0, text.data(), length, &narrow[0], needed, nullptr, nullptr) == needed)
    return narrow;
  return std::string();
}

bool ParseSidNumber(const std::string &text, std::uint32_t &value) {
  if (text.empty()) return false;
  std::uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
    if (number > 0xFFFFFFFFu) return false;
  }
  value = static_cast<std::uint32_t>(number);
  return true;
}

std::string SidNumberText(std::uint32_t value, bool hexadecimal) {
  char text[16];
  std::snprintf(text, sizeof text, hexadecimal ? "$%lx" : "%lu", static_cast<unsigned long>(value));
  return text;
}
