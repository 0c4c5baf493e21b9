// The formats the harness reads: escaped captions, fixtures and .reg exports.
// These need no Wine session.
#include <gtest/gtest.h>

#include "../protocol/caption_escape.h"
#include "../protocol/fixture_format.h"
#include "testshell_client.h"
#include "wine_registry.h"

namespace e2e {
namespace {

TEST(CaptionEscapeTest, RoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string escaped = EscapeCaption(all);
  EXPECT_EQ(escaped.find(' '), std::string::npos);
  std::string back;
  ASSERT_TRUE(UnescapeCaption(escaped, back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(EscapeCaption("Caf\xE9\xA0n\\1"), "Caf\\xE9\\xA0n\\x5C1");
}

TEST(CaptionEscapeTest, RejectsMalformedEscapes) {
  std::string bytes;
  EXPECT_FALSE(UnescapeCaption("abc\\x4", bytes));
  EXPECT_FALSE(UnescapeCaption("abc\\y41", bytes));
  EXPECT_FALSE(UnescapeCaption("\\xZZ", bytes));
}

TEST(FixtureFormatTest, ReadsPositionsAndCaptionsWithSpaces) {
  std::vector<FixtureIcon> icons;
  std::string error;
  ASSERT_TRUE(ParseFixture("# comment\n\n10 -20 Mes documents\r\n300 40 Caf\\xE9\\xA0noir\n", icons, error)) << error;
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].x, 10);
  EXPECT_EQ(icons[0].y, -20);
  EXPECT_EQ(icons[0].caption, "Mes documents");
  EXPECT_EQ(icons[1].caption, "Caf\xE9\xA0noir");
}

TEST(FixtureFormatTest, NamesTheMalformedLine) {
  std::vector<FixtureIcon> icons;
  std::string error;
  EXPECT_FALSE(ParseFixture("1 2 ok\nx 2 bad\n", icons, error));
  EXPECT_EQ(error, "fixture line 2 is malformed");
  EXPECT_FALSE(ParseFixture("1 2\n", icons, error));
}

TEST(ShellReplyTest, ParsesItemLines) {
  ShellItem item;
  ASSERT_TRUE(ParseItemLine("item 3 -5 700 Favoris\\x20r\\xE9seau", item));
  EXPECT_EQ(item.index, 3);
  EXPECT_EQ(item.x, -5);
  EXPECT_EQ(item.y, 700);
  EXPECT_EQ(item.caption, "Favoris r\xE9seau");
  EXPECT_FALSE(ParseItemLine("error no-item", item));
}

std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(RegExportTest, ParsesKeysAndValueTypes) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
      u"@=\"d\u00e9faut\"\r\n"
      u"\"Version\"=\"4.2.0.0\"\r\n"
      u"\"Caf\u00e9\u00a0\\\"noir\\\"\"=dword:0000012c\r\n"
      u"\"Pos\"=hex:01,02,0a,\\\r\n  ff\r\n"
      u"\"Path\"=hex(2):43,00,3a,00,5c,00,e9,00,00,00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1280x1024]\r\n"
      u"\"\u0152uvre \u20ac\"=\"x\"\r\n";
  std::vector<RegKey> keys;
  std::string error;
  ASSERT_TRUE(ParseRegExport(Utf16File(text), keys, error)) << error;
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].path, "HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan");
  ASSERT_EQ(keys[0].values.size(), 5u);
  EXPECT_EQ(keys[0].values[0].name, "");
  EXPECT_EQ(keys[0].values[0].data, "d\xE9" "faut");
  const RegValue* dword = keys[0].Find("Caf\xE9\xA0\"noir\"");
  ASSERT_NE(dword, nullptr);
  EXPECT_EQ(dword->type, 4);
  EXPECT_EQ(dword->data, std::string("\x2C\x01\x00\x00", 4));
  const RegValue* binary = keys[0].Find("Pos");
  ASSERT_NE(binary, nullptr);
  EXPECT_EQ(binary->type, 3);
  EXPECT_EQ(binary->data, std::string("\x01\x02\x0A\xFF", 4));
  const RegValue* expand = keys[0].Find("Path");
  ASSERT_NE(expand, nullptr);
  EXPECT_EQ(expand->type, 2);
  EXPECT_EQ(expand->data, std::string("C:\\\xE9\0", 5));
  ASSERT_EQ(keys[1].values.size(), 1u);
  EXPECT_EQ(keys[1].values[0].name, "\x8Cuvre \x80");
}

TEST(RegExportTest, RejectsValuesOutsideAKey) {
  std::vector<RegKey> keys;
  std::string error;
  EXPECT_FALSE(ParseRegExport(Utf16File(u"Windows Registry Editor Version 5.00\r\n\"a\"=\"b\"\r\n"), keys, error));
}

TEST(RegExportTest, ConvertsWindows1252ToUtf8ForWineArguments) {
  EXPECT_EQ(Windows1252ToUtf8("Caf\xE9 \x80\xA0"), "Caf\xC3\xA9 \xE2\x82\xAC\xC2\xA0");
}

}  // namespace
}  // namespace e2e
