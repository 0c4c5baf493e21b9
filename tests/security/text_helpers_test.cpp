#include "security/text_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(TextHelpers, FoldsWindows1252Capitals) {
  EXPECT_TRUE(SameText("ÀÉÎÕÜÞ ŠŒŽŸ", "àéîõüþ šœžÿ"));
  EXPECT_FALSE(SameText("×", "÷"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_TRUE(TextStartsWith("CURRENT_USER\\Software", "current_user"));
  EXPECT_FALSE(TextStartsWith("HKCU", "HKCU\\"));
}

TEST(TextHelpers, WideTextFoldsOnlyBelow256) {
  WideString upper = WidenText("ÉCOLE");
  WideString lower = WidenText("école");
  EXPECT_TRUE(SameText(upper, lower));
  WideString omegaUpper(1, static_cast<WCHAR>(0x3A9));
  WideString omegaLower(1, static_cast<WCHAR>(0x3C9));
  EXPECT_FALSE(SameText(omegaUpper, omegaLower));
  EXPECT_TRUE(TextStartsWith(WidenText("Machine\\x"), WidenText("MACHINE")));
}

TEST(TextHelpers, UpperCasesAsciiAndThreeUmlautsOnly) {
  EXPECT_EQ(WidenText("HKCU\\ÄÖÜ\\é"), UpperCaseWide(WidenText("hkcu\\äöü\\é")));
}

TEST(TextHelpers, SidNumbers) {
  std::uint32_t value = 0;
  EXPECT_TRUE(ParseSidNumber("4294967295", value));
  EXPECT_EQ(4294967295u, value);
  EXPECT_FALSE(ParseSidNumber("4294967296", value));
  EXPECT_FALSE(ParseSidNumber("", value));
  EXPECT_FALSE(ParseSidNumber("-1", value));
  EXPECT_FALSE(ParseSidNumber("0x10", value));
  EXPECT_EQ("544", SidNumberText(544, false));
  EXPECT_EQ("$220", SidNumberText(544, true));
}

}  // namespace
