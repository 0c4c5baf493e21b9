#include "regctrl_test_support.h"

namespace {

using RegWrite = RegCtrlTest;

TEST_F(RegWrite, StringIsStoredAsRegSzWithItsTerminator) {
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kProduct, "Version", "4.2.0.0"));
  auto value = Stored(kProduct, "Version");
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
  EXPECT_EQ(Bytes(std::string("4.2.0.0", 8)), value.data);
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kProduct, "Empty", ""));
  EXPECT_EQ(Bytes(std::string(1, '\0')), Stored(kProduct, "Empty").data);
}

TEST_F(RegWrite, IntegerIsALittleEndianDword) {
  ASSERT_TRUE(WriteRegInteger(HKEY_CURRENT_USER, "Software\\Layout", "Corbeille", -2));
  auto value = Stored("Software\\Layout", "Corbeille");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.type);
  EXPECT_EQ((std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}), value.data);
  EXPECT_EQ(-2, ReadRegInteger(HKEY_CURRENT_USER, "Software\\Layout", "Corbeille", 0));
  ASSERT_TRUE(WriteRegInteger(HKEY_CURRENT_USER, "Software\\Layout", "Corbeille", 0x00280014));
  EXPECT_EQ((std::vector<BYTE>{0x14, 0x00, 0x28, 0x00}), Stored("Software\\Layout", "Corbeille").data);
}

TEST_F(RegWrite, BoolCreatesEveryMissingKeyAndStoresOneOrZero) {
  ASSERT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Ostrafen"));
  ASSERT_TRUE(WriteRegBool(HKEY_CURRENT_USER, kOptions, "Démarrage", true));
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kOptions));
  EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), Stored(kOptions, "Démarrage").data);
  ASSERT_TRUE(WriteRegBool(HKEY_CURRENT_USER, kOptions, "D\xC9MARRAGE", false));
  EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}), Stored(kOptions, "Démarrage").data);
  EXPECT_EQ((std::vector<std::string>{"Démarrage"}), winsim::RegistryValueNames(HKEY_CURRENT_USER, kOptions));
}

TEST_F(RegWrite, EmptyNameWritesTheDefaultValue) {
  ASSERT_TRUE(WriteRegInteger(HKEY_CURRENT_USER, kProduct, "", 7));
  EXPECT_EQ(7, ReadRegInteger(HKEY_CURRENT_USER, kProduct, "", 0));
  EXPECT_EQ((std::vector<std::string>{""}), winsim::RegistryValueNames(HKEY_CURRENT_USER, kProduct));
}

TEST_F(RegWrite, ARefusedKeyOrWriteAnswersFalseAndKeepsWhatWasThere) {
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptions, "Automatique", 1);
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, kOptions, WRITE_OWNER);
  EXPECT_FALSE(WriteRegBool(HKEY_CURRENT_USER, kOptions, "Automatique", false));
  EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), Stored(kOptions, "Automatique").data);
}

}  // namespace
