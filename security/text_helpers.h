// Text rules of the security layer: Windows-1252 case folding, comparisons
// without regard to case, upper-casing of registry root names, SID numbers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

using WideString = std::basic_string<WCHAR>;

// Lower case of a character below 256 by the Windows-1252 table.
unsigned char FoldCase(unsigned char c);

bool SameText(const std::string &a, const std::string &b);
bool SameText(const WideString &a, const WideString &b);
bool TextStartsWith(const std::string &text, const std::string &prefix);
bool TextStartsWith(const WideString &text, const WideString &prefix);

// Upper-cases a to z and ä, ö, ü only.
WideString UpperCaseWide(WideString text);

// Single-byte text and wide text into each other through the ANSI code page,
// as the A functions of Windows convert names: in Windows-1252 the bytes
// 0x80-0x9F are characters such as U+20AC (the euro sign) and U+0152 (OE).
// Empty when the text cannot be converted.
WideString WidenText(const std::string &text);
std::string NarrowText(const WideString &text);

// Decimal digits only, within 32 bits.
bool ParseSidNumber(const std::string &text, std::uint32_t &value);
// Decimal, or "$" and lower-case hexadecimal.
std::string SidNumberText(std::uint32_t value, bool hexadecimal);
