#include "common/number_text.h"

namespace {

// Digits of value in the given base, least significant first, into the end of
// a buffer wide enough for 64 binary digits.
std::string UnsignedText(std::uint64_t value, unsigned base, int minDigits) {
  static const char kDigits[] = "0123456789ABCDEF";
  char buffer[64];
  int length = 0;
  do {
    buffer[sizeof buffer - 1 - length++] = kDigits[value % base];
    value /= base;
  } while (value != 0);
  std::string text;
  if (minDigits > length) text.assign(static_cast<std::size_t>(minDigits - length), '0');
  text.append(buffer + sizeof buffer - length, static_cast<std::size_t>(length));
  return text;
}

}  // namespace

std::string DecimalText(std::int64_t value) {
  // The magnitude in unsigned arithmetic, so the most negative value has one too.
  const std::uint64_t magnitude =
      value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
  return (value < 0 ? "-" : "") + UnsignedText(magnitude, 10, 1);
}

std::string PaddedDecimalText(std::uint64_t value, int minDigits) { return UnsignedText(value, 10, minDigits); }

std::string HexText(std::uint64_t value, int minDigits) { return UnsignedText(value, 16, minDigits); }
