// The control API arranges what the program finds and reads back what it did.
#include "registry_test_support.h"

namespace {

using Control = RegistryTest;

TEST_F(Control, ArrangedValuesAreWhatTheProgramReads) {
  winsim::SetRegistryValue(HKEY_CURRENT_USER, "Software\\Arranged\\Deep", "bin", REG_BINARY, {1, 2, 3});
  winsim::SetRegistryString(HKEY_CURRENT_USER, "Software\\Arranged\\Deep", "", "text");
  HKEY key = Open("Software\\arranged\\DEEP", KEY_READ);
  BYTE data[8];
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "BIN", nullptr, &type, data, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(3u, size);
  size = sizeof data;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, nullptr, nullptr, &type, data, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(std::string("text", 5), std::string(reinterpret_cast<char *>(data), size));
  RegCloseKey(key);
}

TEST_F(Control, WhatTheProgramWroteCanBeReadBack) {
  HKEY key = Create("Software\\Written\\Child");
  ASSERT_EQ(ERROR_SUCCESS, SetDword(key, "n", 0x01020304));
  RegCloseKey(key);
  auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Written\\Child", "N");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value->type);
  EXPECT_EQ((std::vector<BYTE>{4, 3, 2, 1}), value->data);
  EXPECT_FALSE(winsim::ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Written\\Child", "missing").has_value());
  EXPECT_EQ((std::vector<std::string>{"Child"}), winsim::RegistrySubkeyNames(HKEY_CURRENT_USER, "Software\\Written"));
  EXPECT_EQ((std::vector<std::string>{"n"}),
            winsim::RegistryValueNames(HKEY_CURRENT_USER, "Software\\Written\\Child"));
}

TEST_F(Control, DeletingAKeyTakesItsWholeTree) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Tree\\A\\B");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Tree\\C");
  EXPECT_TRUE(winsim::DeleteRegistryKey(HKEY_CURRENT_USER, "Software\\Tree"));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tree"));
  EXPECT_FALSE(winsim::DeleteRegistryKey(HKEY_CURRENT_USER, "Software\\Tree"));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_F(Control, ResetEmptiesTheRegistryAndForgetsHandles) {
  winsim::SetRegistryDword(HKEY_CURRENT_USER, "Software\\Gone", "v", 1);
  Create("Software\\Gone");
  winsim::Reset();
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Gone"));
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
  EXPECT_EQ((std::vector<std::string>{"Software"}), winsim::RegistrySubkeyNames(HKEY_CURRENT_USER, ""));
}

}  // namespace
