// Duplicate captions are found through the user locale's case-insensitive
// sort keys: two names must have equal keys exactly when CompareStringA calls
// them equal, for the strings that make comparisons tricky.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

namespace {

const DWORD kFlags = NORM_IGNORECASE;

bool CompareEqual(const std::string &a, const std::string &b) {
  return CompareStringA(LOCALE_USER_DEFAULT, kFlags, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::string SortKey(const std::string &text) {
  int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kFlags, text.c_str(), -1, nullptr, 0);
  EXPECT_GT(size, 0) << "no sort key size for '" << text << "'";
  if (size <= 0) return std::string();
  std::string key(static_cast<std::size_t>(size), '\x7F');
  int written = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kFlags, text.c_str(), -1, &key[0], size);
  EXPECT_EQ(size, written) << text;
  return key;
}

const std::vector<std::string> &TrickyStrings() {
  static const std::vector<std::string> strings = {
      "",        "Notes",        "NOTES",         "notes",        "Notes ",        "e",
      "E",       "\xE9",         "\xC9",          "\xE9t\xE9",    "\xC9T\xC9",     "ete",
      "\x9C",    "\x8C",         "oe",            "OE",           "\xDF",          "ss",
      "\xFF",    "\x9F",         "y",             "T\xA0",        "T ",            "T",
      "T\xA0____\xA0(1)",        "t\xA0____\xA0(1)",               "T\xA0____\xA0(2)",
      "ab",      "a\xAD" "b",    "a\x01" "b",     "a\x7F" "b",    "\xAD",          "a-b",
      "a'b",     "co-op",        "coop",          "1",            "\xB9",          "a",
      "\xAA",    "A\xA0",        "\xA0",          " ",            "Caf\xE9\xA0noir", "CAF\xC9\xA0NOIR",
      "\xE6",    "\xC6",         "ae",            "SS",           "a\xAD\xAD",     "\x9C" "uvre", "OEUVRE",
  };
  return strings;
}

TEST(SortKeys, AreEqualExactlyWhenTheComparisonSaysEqual) {
  const auto &strings = TrickyStrings();
  std::vector<std::string> keys;
  for (const auto &text : strings) keys.push_back(SortKey(text));
  for (std::size_t i = 0; i < strings.size(); ++i) {
    for (std::size_t j = 0; j < strings.size(); ++j) {
      EXPECT_EQ(CompareEqual(strings[i], strings[j]), keys[i] == keys[j])
          << "'" << strings[i] << "' (#" << i << ") and '" << strings[j] << "' (#" << j << ")";
    }
  }
}

TEST(SortKeys, FoldCaseAndKeepAccentsAndTheNoBreakSpace) {
  EXPECT_EQ(SortKey("Notes"), SortKey("NOTES"));
  EXPECT_EQ(SortKey("\xE9t\xE9"), SortKey("\xC9T\xC9"));
  EXPECT_EQ(SortKey("Caf\xE9\xA0noir"), SortKey("CAF\xC9\xA0NOIR"));
  EXPECT_NE(SortKey("ete"), SortKey("\xE9t\xE9"));
  EXPECT_NE(SortKey("T\xA0"), SortKey("T "));
  EXPECT_NE(SortKey("T"), SortKey("T\xA0____\xA0(1)"));
  EXPECT_NE(SortKey(""), SortKey("a"));
}

TEST(SortKeys, TheSoftHyphenWeighsNothingAndLigaturesWeighAsTheirLetters) {
  EXPECT_TRUE(CompareEqual("ab", "a\xAD" "b"));
  EXPECT_TRUE(CompareEqual("", "\xAD"));
  EXPECT_TRUE(CompareEqual("oeuvre", "\x9C" "uvre"));
  EXPECT_TRUE(CompareEqual("OEUVRE", "\x9C" "uvre"));
  EXPECT_TRUE(CompareEqual("ae", "\xC6"));
  EXPECT_TRUE(CompareEqual("SS", "\xDF"));
  EXPECT_FALSE(CompareEqual("ab", "a\x01" "b")) << "control characters count";
  EXPECT_FALSE(CompareEqual("coop", "co-op"));
  EXPECT_EQ(SortKey("ab"), SortKey("a\xAD" "b"));
  EXPECT_EQ(SortKey("STRASSE"), SortKey("stra\xDF" "e"));
}

TEST(SortKeys, EndWithAZeroByteThatTheSizeCounts) {
  for (const auto &text : TrickyStrings()) {
    std::string key = SortKey(text);
    ASSERT_FALSE(key.empty()) << text;
    EXPECT_EQ('\0', key.back()) << text;
    EXPECT_EQ(key.size() - 1, key.find('\0')) << "only the last byte is zero: '" << text << "'";
  }
}

TEST(SortKeys, TooSmallABufferIsRefused) {
  char key[2] = {};
  SetLastError(0);
  EXPECT_EQ(0, LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kFlags, "Notes", -1, key, sizeof key));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

}  // namespace
