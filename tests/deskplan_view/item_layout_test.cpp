#include <gtest/gtest.h>

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

}  // namespace
