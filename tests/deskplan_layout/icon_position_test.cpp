#include "deskplan/layout/icon_position.h"

#include <gtest/gtest.h>

namespace {

TEST(IconPositionBytes, LittleEndianXThenY) {
  auto bytes = IconPosition{20, 30}.ToBytes();
  EXPECT_EQ(bytes, (std::array<BYTE, 8>{0x14, 0, 0, 0, 0x1E, 0, 0, 0}));
  auto back = IconPosition::FromBytes(bytes.data());
  EXPECT_EQ(back.x, 20);
  EXPECT_EQ(back.y, 30);
}

TEST(IconPositionBytes, UnknownPositionIsAllOnes) {
  auto bytes = IconPosition{}.ToBytes();
  for (auto b : bytes) EXPECT_EQ(b, 0xFF);
  EXPECT_TRUE(IconPosition::FromBytes(bytes.data()).IsUnknown());
  EXPECT_FALSE((IconPosition{-1, 0}).IsUnknown());
}

TEST(IconPositionBytes, NegativeAndLargeCoordinatesRoundTrip) {
  IconPosition p{-70000, 2147483647};
  auto back = IconPosition::FromBytes(p.ToBytes().data());
  EXPECT_EQ(back.x, -70000);
  EXPECT_EQ(back.y, 2147483647);
}

TEST(PackedPosition, KeepsLowSixteenBitsAndSignExtends) {
  DWORD packed = PackedIconPosition::Pack(-2, 300);
  EXPECT_EQ(packed, 0x012CFFFEu);
  EXPECT_EQ(PackedIconPosition::UnpackX(packed), -2);
  EXPECT_EQ(PackedIconPosition::UnpackY(packed), 300);
  packed = PackedIconPosition::Pack(70000, -40000);  // outside 16 bits: wraps
  EXPECT_EQ(PackedIconPosition::UnpackX(packed), 70000 - 65536);
  EXPECT_EQ(PackedIconPosition::UnpackY(packed), -40000 + 65536);
}

}  // namespace
