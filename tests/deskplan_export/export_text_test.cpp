#include <gtest/gtest.h>

#include "deskplan/app/export_text.h"

namespace {

TEST(ExportText, StripTrailingBackslashesRemovesEveryOneAtTheEndOnly) {
  EXPECT_EQ(StripTrailingBackslashes("C:\\Users\\Marie\\Documents"), "C:\\Users\\Marie\\Documents");
  EXPECT_EQ(StripTrailingBackslashes("C:\\Users\\Marie\\Documents\\"), "C:\\Users\\Marie\\Documents");
  EXPECT_EQ(StripTrailingBackslashes("D:\\\\\\"), "D:");
  EXPECT_EQ(StripTrailingBackslashes("\\\\"), "");
  EXPECT_EQ(StripTrailingBackslashes(""), "");
  EXPECT_EQ(StripTrailingBackslashes("\\a\\b"), "\\a\\b");
}

TEST(ExportText, FormatHexBytesGivesEightLowerCasePairs) {
  EXPECT_EQ(FormatHexBytes("140000001E000000"), "14,00,00,00,1e,00,00,00");
  EXPECT_EQ(FormatHexBytes("FFFFFFFFFFFFFFFF"), "ff,ff,ff,ff,ff,ff,ff,ff");
  EXPECT_EQ(FormatHexBytes("0123456789ABCDEF"), "01,23,45,67,89,ab,cd,ef");
  EXPECT_EQ(FormatHexBytes("140000001E000000").size(), 23u);
}

TEST(ExportText, FileNameCarriesTheLocalDateWithLeadingZeros) {
  EXPECT_EQ(ExportFileName(SYSTEMTIME{2026, 12, 1, 7, 23, 59, 59, 999}), "Deskplan_4.2.0.0_2026_12_07.reg");
  EXPECT_EQ(ExportFileName(SYSTEMTIME{2027, 1, 2, 5, 0, 0, 0, 0}), "Deskplan_4.2.0.0_2027_01_05.reg");
  EXPECT_EQ(ExportFileName(SYSTEMTIME{999, 10, 0, 31, 0, 0, 0, 0}), "Deskplan_4.2.0.0_0999_10_31.reg");
}

TEST(ExportText, ValueNamesAreQuotedWithTheRegistryEditorsEscapes) {
  EXPECT_EQ(QuotedValueName("Corbeille"), "\"Corbeille\"");
  EXPECT_EQ(QuotedValueName(""), "\"\"");
  EXPECT_EQ(QuotedValueName("Dossier \"A\""), "\"Dossier \\\"A\\\"\"");
  EXPECT_EQ(QuotedValueName("C:\\temp\\"), "\"C:\\\\temp\\\\\"");
  EXPECT_EQ(QuotedValueName("Caf\xE9\xA0=[x]"), "\"Caf\xE9\xA0=[x]\"") << "nothing else is escaped";
}

TEST(ExportText, ValueLinesOfBothForms) {
  EXPECT_EQ(HexValueLine("Corbeille", "140000001E000000"), "\"Corbeille\"=hex:14,00,00,00,1e,00,00,00");
  EXPECT_EQ(DwordValueLine("Corbeille", 0x001E0014), "\"Corbeille\"=dword:001E0014");
  EXPECT_EQ(DwordValueLine("Coin", 0), "\"Coin\"=dword:00000000");
  EXPECT_EQ(DwordValueLine("Haut", -1), "\"Haut\"=dword:FFFFFFFF");
  EXPECT_EQ(DwordValueLine("a\"b", static_cast<int32_t>(0xFFF6000A)), "\"a\\\"b\"=dword:FFF6000A");
}

}  // namespace
