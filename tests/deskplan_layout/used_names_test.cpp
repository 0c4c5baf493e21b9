#include "deskplan/layout/used_names.h"

#include <gtest/gtest.h>

#include "winsim/machine.h"
#include "winsim/trace.h"

namespace {

const std::string S = "\xA0____\xA0";

class UniqueNames : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  // Names a save pass gives captions met in this order.
  static std::vector<std::string> NamesFor(const std::vector<std::string> &captions) {
    UsedNames used;
    std::vector<std::string> names;
    for (auto &caption : captions) {
      names.push_back(UniqueValueName(caption, used));
      used.Add(names.back());
    }
    return names;
  }
};

TEST_F(UniqueNames, RepeatedCaptionAccumulatesSuffixes) {
  auto names = NamesFor({"T", "T", "T", "T"});
  EXPECT_EQ(names, (std::vector<std::string>{"T", "T" + S + "(1)", "T" + S + "(1)" + S + "(2)",
                                             "T" + S + "(1)" + S + "(2)" + S + "(3)"}));
}

TEST_F(UniqueNames, CaptionsDifferingInCaseAreTheSameName) {
  EXPECT_EQ(NamesFor({"Notes", "NOTES"}), (std::vector<std::string>{"Notes", "NOTES" + S + "(1)"}));
  // Accented capitals fold too, by the Windows-1252 rules of the locale.
  EXPECT_EQ(NamesFor({"\xE9t\xE9", "\xC9T\xC9"})[1], "\xC9T\xC9" + S + "(1)");
}

TEST_F(UniqueNames, LigaturesAndSoftHyphensCompareAsTheLocaleSays) {
  EXPECT_EQ(NamesFor({"\x9C" "uvre", "OEUVRE"})[1], "OEUVRE" + S + "(1)");
  EXPECT_EQ(NamesFor({"Stra\xDF" "e", "strasse"})[1], "strasse" + S + "(1)");
  EXPECT_EQ(NamesFor({"Photo", "Pho\xADto"})[1], "Pho\xADto" + S + "(1)");
}

TEST_F(UniqueNames, CaptionThatLooksSuffixedStartsItsOwnCounter) {
  auto names = NamesFor({"T", "T", "T" + S + "(1)"});
  EXPECT_EQ(names[2], "T" + S + "(1)" + S + "(1)");
}

TEST_F(UniqueNames, EmptyCaptionsUseTheDefaultValueThenTheSeparator) {
  EXPECT_EQ(NamesFor({"", ""}), (std::vector<std::string>{"", S + "(1)"}));
}

TEST_F(UniqueNames, NameIsNotTakenUntilTheCallerAddsIt) {
  UsedNames used;
  EXPECT_EQ(UniqueValueName("A", used), "A");
  EXPECT_EQ(UniqueValueName("A", used), "A");
  used.Add("a");
  EXPECT_TRUE(used.Contains("A"));
  EXPECT_FALSE(used.Contains("A "));
  EXPECT_FALSE(used.Contains("\xE0"));  // à is not a
}

TEST_F(UniqueNames, TenthDuplicateCountsInDecimal) {
  std::vector<std::string> captions(11, "x");
  auto names = NamesFor(captions);
  std::string expected = "x";
  for (int k = 1; k <= 10; ++k) expected += S + "(" + std::to_string(k) + ")";
  EXPECT_EQ(names[10], expected);
}

TEST_F(UniqueNames, DistinctCaptionsCostAFewSortKeysEachAndNoComparison) {
  std::vector<std::string> captions;
  for (int i = 0; i < 3000; ++i) captions.push_back("Ic\xF4ne " + std::to_string(i));
  auto names = NamesFor(captions);
  EXPECT_EQ(names, captions);
  EXPECT_LE(winsim::CountCalls("LCMapStringA"), 2u * captions.size());
  EXPECT_EQ(winsim::CountCalls("CompareStringA"), 0u);
}

TEST_F(UniqueNames, WithoutSortKeysNamesAreComparedOneByOneToTheSameResult) {
  const std::vector<std::string> captions = {"T", "t", "T" + S + "(1)", "Notes", "NOTES", "\xE9t\xE9", "\xC9T\xC9",
                                             "",  "",  "T"};
  auto expected = NamesFor(captions);
  winsim::Reset();
  winsim::FailAlways("LCMapStringA", ERROR_INVALID_PARAMETER);
  EXPECT_EQ(NamesFor(captions), expected);
  EXPECT_GT(winsim::CountCalls("CompareStringA"), 0u);
}

TEST_F(UniqueNames, ASortKeyLongerThanTheFirstGuessIsAskedForAgain) {
  std::string longest(4095, 'a');
  UsedNames used;
  used.Add(longest);
  winsim::FailNext("LCMapStringA", ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(UniqueValueName(std::string(4095, 'A'), used), std::string(4095, 'A') + S + "(1)");
  EXPECT_EQ(winsim::CountCalls("CompareStringA"), 0u) << "the size was asked and the key made";
}

}  // namespace
