#include "deskplan/app/export_text.h"

#include <cstdio>

std::string StripTrailingBackslashes(const std::string &text) {
  std::string stripped = text;
  while (!stripped.empty() && stripped.back() == '\\') stripped.pop_back();
  return stripped;
}

std::string FormatHexBytes(const std::string &digits) {
  std::string text = digits;
  // A comma at positions 3, 6, ... 21 of the growing text, counted from 1.
  for (std::string::size_type position = 3; position <= 21; position += 3) {
    if (position - 1 > text.size()) break;
    text.insert(position - 1, 1, ',');
  }
  for (char &c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string ExportFileName(const SYSTEMTIME &today) {
  char date[16];
  std::snprintf(date, sizeof date, "%04u_%02u_%02u", static_cast<unsigned>(today.wYear % 10000),
                static_cast<unsigned>(today.wMonth % 100), static_cast<unsigned>(today.wDay % 100));
  return std::string("Deskplan_4.2.0.0_") + date + ".reg";
}

bool FitsOnOneLine(const std::string &name) { return name.find_first_of("\r\n") == std::string::npos; }

std::string QuotedValueName(const std::string &name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string HexValueLine(const std::string &name, const std::string &digits) {
  return QuotedValueName(name) + "=hex:" + FormatHexBytes(digits);
}

std::string DwordValueLine(const std::string &name, int32_t value) {
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(static_cast<uint32_t>(value)));
  return QuotedValueName(name) + "=dword:" + digits;
}
