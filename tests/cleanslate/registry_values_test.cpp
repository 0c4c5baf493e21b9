// Writing values through a value path, in both registry views.
#include "cleanslate/registry_values.h"

#include "reset_world.h"

namespace {

const char kKey[] = "Control Panel\\Appearance";

class RegistryValuesTest : public ResetWorld {};

TEST_F(RegistryValuesTest, LastCharPosCountsFromOneAndAnswersZeroWhenAbsent) {
  EXPECT_EQ(0u, LastCharPos('\\', ""));
  EXPECT_EQ(0u, LastCharPos('\\', "Appearance"));
  EXPECT_EQ(1u, LastCharPos('\\', "\\Current"));
  EXPECT_EQ(25u, LastCharPos('\\', "Control Panel\\Appearance\\Current"));
  EXPECT_EQ(3u, LastCharPos('\\', "a\\\\b"));
}

TEST_F(RegistryValuesTest, EmptyTextIsStoredAsOneZeroByteAndTheKeyIsCreated) {
  ASSERT_FALSE(KeyExists(kKey));
  EXPECT_TRUE(SetRegString(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\Current", ""));
  auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kKey, "Current");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), value->type);
  EXPECT_EQ(std::vector<BYTE>{0}, value->data);
}

TEST_F(RegistryValuesTest, TextAndDwordKeepTheirBytes) {
  EXPECT_TRUE(SetRegString(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\Nom", "Thème"));
  EXPECT_TRUE(SetRegDword(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\FFlags", 0x00200224));
  auto text = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kKey, "Nom");
  auto dword = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kKey, "FFlags");
  ASSERT_TRUE(text && dword);
  EXPECT_EQ((std::vector<BYTE>{'T', 'h', 0xE8, 'm', 'e', 0}), text->data);
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dword->type);
  EXPECT_EQ((std::vector<BYTE>{0x24, 0x02, 0x20, 0x00}), dword->data);
}

TEST_F(RegistryValuesTest, PathWithoutBackslashTouchesNothing) {
  EXPECT_FALSE(SetRegString(kDefaultRegistryView, HKEY_CURRENT_USER, "Current", "x"));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, WriteRegDword(kDefaultRegistryView, HKEY_CURRENT_USER, "FFlags", 1));
  EXPECT_EQ(0u, winsim::CountCalls("RegCreateKeyExA"));
  EXPECT_TRUE(winsim::RegistryValueNames(HKEY_CURRENT_USER, "").empty());
}

TEST_F(RegistryValuesTest, TrailingBackslashSetsTheDefaultValueAndALeadingOneTheRootsOwnValue) {
  EXPECT_TRUE(SetRegString(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\", "défaut"));
  auto byDefault = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kKey, "");
  ASSERT_TRUE(byDefault.has_value());
  EXPECT_EQ(7u, byDefault->data.size());

  EXPECT_TRUE(SetRegDword(kDefaultRegistryView, HKEY_CURRENT_USER, "\\AtRoot", 7));
  EXPECT_TRUE(winsim::ReadRegistryValue(HKEY_CURRENT_USER, "", "AtRoot").has_value());
}

TEST_F(RegistryValuesTest, MasksOfBothViews) {
  SetRegString(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\A", "");
  SetRegString(k64BitRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\B", "");
  // Each key on the way asked whether it is a link, the last one written.
  EXPECT_EQ((std::vector<std::string>{"HKEY_CURRENT_USER\\Control Panel|0x1",
                                      "HKEY_CURRENT_USER\\Control Panel\\Appearance|0x20007",
                                      "HKEY_CURRENT_USER\\Control Panel|0x101",
                                      "HKEY_CURRENT_USER\\Control Panel\\Appearance|0x20107"}),
            Details("RegCreateKeyExA"));
}

TEST_F(RegistryValuesTest, FailuresAnswerTheSystemsCodeAndCloseTheKey) {
  winsim::FailNext("RegCreateKeyExA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(ERROR_ACCESS_DENIED, WriteRegString(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\A", ""));
  winsim::FailNext("RegSetValueExA", ERROR_CANTWRITE);
  EXPECT_FALSE(SetRegString(kDefaultRegistryView, HKEY_CURRENT_USER, std::string(kKey) + "\\A", ""));
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
}

TEST_F(RegistryValuesTest, AKeyThatIsALinkOrHasOneOnItsWayIsNotWrittenThrough) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  for (RegistryView view : {kDefaultRegistryView, k64BitRegistryView}) {
    EXPECT_EQ(ERROR_ACCESS_DENIED, WriteRegDword(view, HKEY_CURRENT_USER, "Software\\Lien\\FFlags", 1));
    EXPECT_EQ(ERROR_ACCESS_DENIED, WriteRegDword(view, HKEY_CURRENT_USER, "Software\\Lien\\Desktop\\FFlags", 1));
  }
  EXPECT_TRUE(winsim::RegistryValueNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible").empty());
  EXPECT_TRUE(winsim::RegistrySubkeyNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible").empty());
  EXPECT_TRUE(winsim::IsRegistryLink(HKEY_CURRENT_USER, "Software\\Lien"));
}

}  // namespace
