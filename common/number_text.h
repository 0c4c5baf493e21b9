// Numbers written as text, for names, messages and exported values. Small
// routines of our own: the C library's formatted output would bring its whole
// floating-point and wide-character machinery into the programs.
#pragma once

#include <cstdint>
#include <string>

// Decimal, with a minus sign for a negative value ("-5", "1280").
std::string DecimalText(std::int64_t value);

// Decimal, zero-padded on the left to at least minDigits digits ("0007").
std::string PaddedDecimalText(std::uint64_t value, int minDigits);

// Upper-case hexadecimal, zero-padded on the left to at least minDigits digits
// ("0000FFFF"); no prefix.
std::string HexText(std::uint64_t value, int minDigits);
