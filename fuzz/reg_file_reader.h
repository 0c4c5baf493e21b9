// A reader of registry editor import files (.reg), written for the tests on
// its own, without any of the program's code: it reads back what the export
// wrote. Lines end with CR LF; a CR or LF anywhere else is an error. Handled:
// the two headers, comments, key lines (and key deletions), the default value
// (@), quoted names with \\ and \" escapes, strings, dword:, hex: and hex(N):
// data, and hex data continued on the next line after a backslash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RegFileValue {
  std::string name;  // "" for the default value (@)
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct RegFileKey {
  std::string path;  // as written between the brackets, without a leading '-'
  bool deleted = false;
  std::vector<RegFileValue> values;
};

struct RegFile {
  bool version5 = false;  // "Windows Registry Editor Version 5.00"; false: "REGEDIT4"
  std::vector<RegFileKey> keys;
};

// Reads the bytes of a whole file. False on the first malformed line, with
// the line's number and what is wrong in `error`.
bool ReadRegFile(const std::string &bytes, RegFile &file, std::string &error);
