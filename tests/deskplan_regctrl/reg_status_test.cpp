// The routines that answer the registry's status tell a missing key or value
// from one that is there but cannot be read, and read a value whole.
#include "regctrl_test_support.h"

namespace {

using RegStatusTest = RegCtrlTest;

const char kLayout[] = "Software\\Ostrafen\\Deskplan\\1024x768";

TEST_F(RegStatusTest, MissingIsNotFoundAndRefusedIsAccessDenied) {
  std::vector<std::string> names{"kept"};
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenRegKeyStatus(HKEY_CURRENT_USER, kLayout));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, ListRegKeyNames(HKEY_CURRENT_USER, kLayout, names));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, ListRegValueNames(HKEY_CURRENT_USER, kLayout, names));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Corbeille", type, data));
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayout, "Notes", 1);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Corbeille", type, data));

  // Readers open with full access: a key that refuses writing cannot be read.
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, kLayout, KEY_SET_VALUE);
  EXPECT_EQ(ERROR_SUCCESS, OpenRegKeyStatus(HKEY_CURRENT_USER, kLayout));
  EXPECT_EQ(ERROR_ACCESS_DENIED, ListRegValueNames(HKEY_CURRENT_USER, kLayout, names));
  EXPECT_EQ(ERROR_ACCESS_DENIED, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Notes", type, data));
  EXPECT_EQ(std::vector<std::string>{"kept"}, names);
}

TEST_F(RegStatusTest, AFailingEnumerationAnswersItsErrorAndLeavesTheList) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kLayout) + "\\A");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kLayout) + "\\B");
  std::vector<std::string> names{"kept"};
  winsim::FailNext("RegEnumKeyExA", ERROR_NOT_ENOUGH_MEMORY, 1);
  EXPECT_EQ(ERROR_NOT_ENOUGH_MEMORY, ListRegKeyNames(HKEY_CURRENT_USER, kLayout, names));
  EXPECT_EQ(std::vector<std::string>{"kept"}, names);
  EXPECT_EQ(ERROR_SUCCESS, ListRegKeyNames(HKEY_CURRENT_USER, kLayout, names));
  EXPECT_EQ((std::vector<std::string>{"A", "B"}), names);
}

TEST_F(RegStatusTest, ValuesAreReadWholeWithTheirType) {
  std::vector<BYTE> large(1000);
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<BYTE>(i * 7);
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kLayout, "Grand", REG_BINARY, large);
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kLayout, "Vide", REG_BINARY, {});
  winsim::SetRegistryString(HKEY_CURRENT_USER, kLayout, "Texte", "abc");
  DWORD type = REG_NONE;
  std::vector<BYTE> data{9, 9};
  EXPECT_EQ(ERROR_SUCCESS, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Grand", type, data));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(large, data);
  EXPECT_EQ(ERROR_SUCCESS, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Vide", type, data));
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(ERROR_SUCCESS, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Texte", type, data));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(Bytes(std::string("abc", 4)), data);

  winsim::FailNext("RegQueryValueExA", ERROR_NOT_ENOUGH_MEMORY, 1);
  EXPECT_EQ(ERROR_NOT_ENOUGH_MEMORY, ReadRegValueData(HKEY_CURRENT_USER, kLayout, "Grand", type, data));
}

}  // namespace
