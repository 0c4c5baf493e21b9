#include <gtest/gtest.h>

#include <cstring>

#include "deskplan/view/item_layout.h"

namespace {

TEST(ItemLayoutChoice, FollowsTheShellsPointerWidth) {
  // 32-bit build on 32-bit Windows, or where IsWow64Process is missing.
  EXPECT_EQ(ItemLayout::Narrow, ChooseItemLayout(4, false, false));
  // 32-bit build under WOW64: a 64-bit shell, or a shell itself under WOW64.
  EXPECT_EQ(ItemLayout::Wide, ChooseItemLayout(4, true, false));
  EXPECT_EQ(ItemLayout::Narrow, ChooseItemLayout(4, true, true));
  // 64-bit build: a 64-bit shell, or a 32-bit shell under WOW64.
  EXPECT_EQ(ItemLayout::Wide, ChooseItemLayout(8, false, false));
  EXPECT_EQ(ItemLayout::Narrow, ChooseItemLayout(8, false, true));
}

TEST(ItemRecord, NarrowAndWideFieldsSitAtTheirOffsets) {
  unsigned char narrow[40] = {};
  WriteItemRecord(narrow, ItemLayout::Narrow, 7, 0x00A11000, 4096);
  EXPECT_EQ(1, GetInt32(narrow));
  EXPECT_EQ(7, GetInt32(narrow + 4));
  EXPECT_EQ(0x00A11000, GetInt32(narrow + 20));
  EXPECT_EQ(4096, GetInt32(narrow + 24));
  EXPECT_EQ(0, GetInt32(narrow + 28));

  unsigned char wide[40] = {};
  WriteItemRecord(wide, ItemLayout::Wide, 7, 0x000001F400001000ULL, 4096);
  EXPECT_EQ(0, GetInt32(wide + 20));
  EXPECT_EQ(0x00001000, GetInt32(wide + 24));
  EXPECT_EQ(0x000001F4, GetInt32(wide + 28));
  EXPECT_EQ(4096, GetInt32(wide + 32));
}

}  // namespace
