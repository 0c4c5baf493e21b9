#include "deskplan/layout/layout_name.h"

#include <gtest/gtest.h>

#include "winsim/machine.h"

namespace {

class LayoutNames : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

TEST_F(LayoutNames, NamedAfterTheScreenSize) {
  winsim::SetScreen(1024, 768);
  EXPECT_EQ(GetLayoutName(), "1024x768");
  EXPECT_EQ(LayoutKeyPath(GetLayoutName()), "Software\\Ostrafen\\Deskplan\\1024x768");
}

TEST_F(LayoutNames, TwoMonitorsSideBySideGiveTheVirtualScreen) {
  winsim::SetScreen(1280, 1024);
  winsim::SetVirtualScreen(2560, 1024);
  EXPECT_EQ(GetLayoutName(), "2560x1024");
}

TEST_F(LayoutNames, WithoutMultiMonitorSupportThePrimaryScreenCounts) {
  winsim::SetScreen(800, 600);
  winsim::SetVirtualScreen(0, 0);  // as old systems answer the virtual-screen metrics
  winsim::RemoveExport("user32.dll", "GetMonitorInfoA");
  EXPECT_EQ(GetLayoutName(), "800x600");
}

}  // namespace
