// The pieces of text the export writes: file name, value lines, and the small
// text routines they are built with.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

// The text without the backslashes at its end.
std::string StripTrailingBackslashes(const std::string &text);

// Sixteen hexadecimal digits as eight comma-separated lower-case pairs:
// "1400000000000000" -> "14,00,00,00,00,00,00,00".
std::string FormatHexBytes(const std::string &digits);

// "Deskplan_4.2.0.0_yyyy_mm_dd.reg" for the given day.
std::string ExportFileName(const SYSTEMTIME &today);

// Whether a name can stand in a line of the file: a CR or LF in it would end
// the line there and make the rest of the name read as another line.
bool FitsOnOneLine(const std::string &name);

// A value name as the registry editor reads it between double quotes: a
// backslash doubled, a double quote preceded by a backslash.
std::string QuotedValueName(const std::string &name);

// "name"=hex:xx,...  for the sixteen hexadecimal digits of eight bytes.
std::string HexValueLine(const std::string &name, const std::string &digits);
// "name"=dword:XXXXXXXX
std::string DwordValueLine(const std::string &name, int32_t value);
