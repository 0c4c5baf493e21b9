// Replacing the values of a layout's key as one change: either every new value
// is stored and every other value gone, or the key is put back as it was.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

struct LayoutValue {
  std::string name;
  DWORD type = REG_BINARY;
  std::vector<BYTE> data;
};

// Creates the key when missing. On a failure the values it held are written
// back (a key it created is removed) and OsError is raised with the failing
// call's code.
void ReplaceLayoutValues(const std::string &keyPath, const std::vector<LayoutValue> &values);
