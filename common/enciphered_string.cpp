#include "common/enciphered_string.h"

std::string DecipherString(const unsigned char *record, std::size_t capacity) {
  std::size_t length = record[0];
  if (length > capacity) length = capacity;  // a damaged record never reads past itself
  std::string text(reinterpret_cast<const char *>(record + 1), length);
  for (auto &c : text) c = static_cast<char>(static_cast<unsigned char>(c) ^ kCipherKey);
  return text;
}
