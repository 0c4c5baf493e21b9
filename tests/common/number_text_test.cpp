#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(DecimalText, SignedValuesAcrossTheWholeRange) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(7), "7");
  EXPECT_EQ(DecimalText(1280), "1280");
  EXPECT_EQ(DecimalText(-5), "-5");
  EXPECT_EQ(DecimalText(-1024), "-1024");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(PaddedDecimalText, PadsWithZerosAndNeverCuts) {
  EXPECT_EQ(PaddedDecimalText(7, 4), "0007");
  EXPECT_EQ(PaddedDecimalText(2026, 4), "2026");
  EXPECT_EQ(PaddedDecimalText(12345, 2), "12345");
  EXPECT_EQ(PaddedDecimalText(0, 2), "00");
  EXPECT_EQ(PaddedDecimalText(0, 0), "0");
  EXPECT_EQ(PaddedDecimalText(std::numeric_limits<std::uint64_t>::max(), 1), "18446744073709551615");
}

TEST(HexText, UpperCaseDigitsPaddedToTheWidthAsked) {
  EXPECT_EQ(HexText(0, 8), "00000000");
  EXPECT_EQ(HexText(0xFFFFFFFFu, 8), "FFFFFFFF");
  EXPECT_EQ(HexText(0x1A2Bu, 8), "00001A2B");
  EXPECT_EQ(HexText(0xabcdefu, 1), "ABCDEF");
  EXPECT_EQ(HexText(0x0123456789ABCDEFull, 16), "0123456789ABCDEF");
  EXPECT_EQ(HexText(std::numeric_limits<std::uint64_t>::max(), 8), "FFFFFFFFFFFFFFFF");
}

}  // namespace
