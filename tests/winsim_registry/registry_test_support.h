// Small helpers for the registry tests: open, set and list through the API.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/trace.h"

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }

  static HKEY Open(const std::string &path, REGSAM access, LSTATUS expected = ERROR_SUCCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(expected, RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key)) << path;
    return key;
  }
  static HKEY Create(const std::string &path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             access, nullptr, &key, nullptr));
    return key;
  }
  static LSTATUS SetDword(HKEY key, const char *name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
  }
  static std::vector<std::string> EnumeratedValues(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    DWORD length = sizeof name;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
      names.emplace_back(name, length);
    return names;
  }
  static std::vector<std::string> EnumeratedSubkeys(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    DWORD length = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
      names.emplace_back(name, length);
    return names;
  }
};
