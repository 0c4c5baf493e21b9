#include "regctrl_test_support.h"

namespace {

using RegRead = RegCtrlTest;

TEST_F(RegRead, IntegerAndBoolReadOnlyADwordOfFourBytes) {
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptions, "Seven", 7);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptions, "Zero", 0);
  winsim::SetRegistryString(HKEY_CURRENT_USER, kOptions, "Text", "1");
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kOptions, "Binary", REG_BINARY, {1, 0, 0, 0});
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kOptions, "Short", REG_DWORD, {1, 0});
  EXPECT_EQ(7, ReadRegInteger(HKEY_CURRENT_USER, kOptions, "seven", -1));
  EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, kOptions, "Seven", false));
  EXPECT_FALSE(ReadRegBool(HKEY_CURRENT_USER, kOptions, "Zero", true));
  for (const char *name : {"Text", "Binary", "Short", "Missing"}) {
    EXPECT_EQ(-1, ReadRegInteger(HKEY_CURRENT_USER, kOptions, name, -1)) << name;
    EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, kOptions, name, true)) << name;
    EXPECT_FALSE(ReadRegBool(HKEY_CURRENT_USER, kOptions, name, false)) << name;
  }
}

TEST_F(RegRead, MissingKeyGivesTheDefaultAndIsNotCreated) {
  EXPECT_EQ(42, ReadRegInteger(HKEY_CURRENT_USER, "Software\\Ostrafen\\Deskplan\\1024x768", "Poste", 42));
  EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, kOptions, "Automatique", true));
  EXPECT_EQ("none", ReadRegBinaryHex(HKEY_CURRENT_USER, kOptions, "x", "none"));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Ostrafen"));
  EXPECT_EQ(0u, winsim::CountCalls("RegCreateKeyExA"));
}

TEST_F(RegRead, AKeyGrantingLessThanFullAccessReadsAsItsDefault) {
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptions, "Protection", 1);
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, kOptions, WRITE_DAC);
  EXPECT_FALSE(ReadRegBool(HKEY_CURRENT_USER, kOptions, "Protection", false));
  std::vector<std::string> names{"kept"};
  EXPECT_FALSE(ReadRegValueNames(HKEY_CURRENT_USER, kOptions, names));
  EXPECT_EQ((std::vector<std::string>{"kept"}), names);
  EXPECT_TRUE(RegKeyPresent(HKEY_CURRENT_USER, kOptions));
}

TEST_F(RegRead, BinaryHexIsUpperCaseDigitsForAtMost254Bytes) {
  const std::string layout = "Software\\Ostrafen\\Deskplan\\1280x1024";
  winsim::SetRegistryValue(HKEY_CURRENT_USER, layout, "Poste de travail", REG_BINARY,
                           {0x14, 0, 0, 0, 0x1E, 0, 0, 0xAB});
  winsim::SetRegistryValue(HKEY_CURRENT_USER, layout, "Empty", REG_BINARY, {});
  winsim::SetRegistryValue(HKEY_CURRENT_USER, layout, "Full", REG_BINARY, std::vector<BYTE>(254, 0xC3));
  winsim::SetRegistryValue(HKEY_CURRENT_USER, layout, "TooLong", REG_BINARY, std::vector<BYTE>(255, 0xC3));
  winsim::SetRegistryDword(HKEY_CURRENT_USER, layout, "Dword", 1);
  EXPECT_EQ("140000001E0000AB", ReadRegBinaryHex(HKEY_CURRENT_USER, layout, "Poste de travail", "-"));
  EXPECT_EQ("", ReadRegBinaryHex(HKEY_CURRENT_USER, layout, "Empty", "-"));
  std::string full;
  for (int i = 0; i < 254; ++i) full += "C3";
  EXPECT_EQ(full, ReadRegBinaryHex(HKEY_CURRENT_USER, layout, "Full", "-"));
  EXPECT_EQ("-", ReadRegBinaryHex(HKEY_CURRENT_USER, layout, "TooLong", "-"));
  EXPECT_EQ("-", ReadRegBinaryHex(HKEY_CURRENT_USER, layout, "Dword", "-"));
  EXPECT_EQ("-", ReadRegBinaryHex(HKEY_CURRENT_USER, layout, "Missing", "-"));
}

TEST_F(RegRead, KeyNamesComeSortedAndReplaceTheList) {
  for (const char *name : {"800x600", "Options", "1280x1024", "alpha"})
    winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kProduct) + "\\" + name);
  std::vector<std::string> names{"stale"};
  ASSERT_TRUE(ReadRegKeyNames(HKEY_CURRENT_USER, kProduct, names));
  EXPECT_EQ((std::vector<std::string>{"1280x1024", "800x600", "alpha", "Options"}), names);
  ASSERT_TRUE(ReadRegKeyNames(HKEY_CURRENT_USER, kOptions, names));
  EXPECT_TRUE(names.empty());
}

TEST_F(RegRead, ValueNamesComeInRegistryOrderWithEveryByteAndFullLength) {
  const std::string layout = "Software\\Ostrafen\\Deskplan\\1024x768";
  const std::string separator = "\xA0____\xA0";
  const std::string caption(4095, 'c');
  const std::vector<std::string> written{"Poste de travail", "Corbeille", "Corbeille" + separator + "(1)", "Été",
                                         caption, caption + separator + "(1)" + separator + "(2)",
                                         std::string(16383, 'z'), ""};
  for (auto &name : written) winsim::SetRegistryValue(HKEY_CURRENT_USER, layout, name, REG_BINARY, {});
  std::vector<std::string> names;
  ASSERT_TRUE(ReadRegValueNames(HKEY_CURRENT_USER, layout, names));
  EXPECT_EQ(written, names);
}

TEST_F(RegRead, ListingAMissingKeyAnswersFalseAndLeavesTheList) {
  std::vector<std::string> names{"kept"};
  EXPECT_FALSE(ReadRegKeyNames(HKEY_CURRENT_USER, kProduct, names));
  EXPECT_FALSE(ReadRegValueNames(HKEY_CURRENT_USER, kProduct, names));
  EXPECT_EQ((std::vector<std::string>{"kept"}), names);
}

TEST_F(RegRead, PresenceNeedsOnlyReadAccess) {
  EXPECT_FALSE(RegKeyPresent(HKEY_CURRENT_USER, kProduct));
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kProduct);
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, kProduct, KEY_SET_VALUE | DELETE);
  EXPECT_TRUE(RegKeyPresent(HKEY_CURRENT_USER, "software\\OSTRAFEN\\deskplan"));
  EXPECT_EQ("HKEY_CURRENT_USER\\software\\OSTRAFEN\\deskplan|0x20009", winsim::CallsTo("RegOpenKeyExA").back().detail);
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, kProduct, KEY_ENUMERATE_SUB_KEYS);
  EXPECT_FALSE(RegKeyPresent(HKEY_CURRENT_USER, kProduct));
}

}  // namespace
