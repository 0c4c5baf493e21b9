// The locale rules duplicate-caption naming and the switches rely on: equal
// names without regard to case, Windows-1252 accents included, and the
// upper-casing of arguments.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

namespace {

bool SameName(const std::string &a, const std::string &b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string Upper(std::string text) {
  CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

TEST(LocaleStrings, NamesEqualWithoutRegardToCase) {
  EXPECT_TRUE(SameName("Notes", "NOTES"));
  EXPECT_TRUE(SameName("\xE9t\xE9 \xE0 la plage", "\xC9T\xC9 \xC0 LA PLAGE"));  // été à la plage
  EXPECT_TRUE(SameName("\x9C" "uvre", "\x8C" "UVRE"));                            // œuvre
  EXPECT_TRUE(SameName("T\xA0____\xA0(1)", "t\xA0____\xA0(1)"));
}

TEST(LocaleStrings, AccentsSpacesAndLengthStillCount) {
  EXPECT_FALSE(SameName("a", "\xE0"));
  EXPECT_FALSE(SameName("e", "\xE9"));
  EXPECT_FALSE(SameName("T\xA0", "T "));
  EXPECT_FALSE(SameName("Notes", "Notes "));
  EXPECT_FALSE(SameName("T", "T\xA0____\xA0(1)"));
}

TEST(LocaleStrings, UpperCasingFollowsWindows1252) {
  EXPECT_EQ(Upper("/autosave"), "/AUTOSAVE");
  EXPECT_EQ(Upper("/NoVersion"), "/NOVERSION");
  EXPECT_EQ(Upper("d\xE9j\xE0 \xE7\xE0"), "D\xC9J\xC0 \xC7\xC0");
  EXPECT_EQ(Upper("\x9C\x9A\x9E\xFF"), "\x8C\x8A\x8E\x9F");  // œ š ž ÿ
  EXPECT_EQ(Upper("\xF7\xA0"), "\xF7\xA0");                  // ÷ and the no-break space stay
}

}  // namespace
