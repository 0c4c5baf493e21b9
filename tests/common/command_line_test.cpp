#include "common/command_line.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(CommandArguments, SkipsTheProgramNameQuotedOrNot) {
  EXPECT_EQ(CommandArguments("Deskplan.exe /A /B"), (Args{"/A", "/B"}));
  EXPECT_EQ(CommandArguments("\"C:\\Program Files\\Deskplan.exe\" /A"), (Args{"/A"}));
  EXPECT_EQ(CommandArguments("Deskplan.exe"), Args{});
  EXPECT_EQ(CommandArguments(""), Args{});
  EXPECT_EQ(CommandArguments(nullptr), Args{});
}

TEST(CommandArguments, EveryControlCharacterAndSpaceSeparates) {
  EXPECT_EQ(CommandArguments("p \t/A\x01/B\x1F\r\n /C  "), (Args{"/A", "/B", "/C"}));
}

TEST(CommandArguments, QuotesToggleAndAreRemoved) {
  EXPECT_EQ(CommandArguments("p \"a b\" c\"d e\"f"), (Args{"a b", "cd ef"}));
  EXPECT_EQ(CommandArguments("p \"/AUTOSAVE\""), (Args{"/AUTOSAVE"}));
  EXPECT_EQ(CommandArguments("p \"unterminated arg"), (Args{"unterminated arg"}));
}

TEST(CommandArguments, BackslashIsAnOrdinaryCharacter) {
  EXPECT_EQ(CommandArguments("p C:\\dir\\ \"x\\\"y"), (Args{"C:\\dir\\", "x\\y"}));
}

TEST(CommandArguments, NonAsciiBytesAreKept) {
  EXPECT_EQ(CommandArguments("p d\xE9j\xE0\xA0vu"), (Args{"d\xE9j\xE0\xA0vu"}));
}

}  // namespace
