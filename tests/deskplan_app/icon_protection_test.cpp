// Icon-name protection: the desktop list view's LVS_EDITLABELS bit, from the
// menu, the "/PROTECTED" switch and at start-up, and its failure paths.
#include <gtest/gtest.h>

#include "tray_world.h"

namespace {

using Protection = TrayWorld;
const LONG kEditable = LVS_ICON | LVS_EDITLABELS | LVS_SHAREIMAGELISTS;

bool Editable(HWND listView) { return (winsim::WindowStyle(listView) & LVS_EDITLABELS) != 0; }

TEST_F(Protection, MenuItemClearsAndSetsTheBitAndStoresTheOption) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  const LONG before = winsim::WindowStyle(desktop.listView);
  bool editableWhileOn = true;
  DWORD storedWhileOn = 7;
  RunThenQuit({Choose(CMD_PROTECTION),
               [&] {
                 editableWhileOn = Editable(desktop.listView);
                 storedWhileOn = OptionValue("Protection");
               },
               Choose(CMD_PROTECTION)});
  EXPECT_FALSE(editableWhileOn);
  EXPECT_EQ(storedWhileOn, 1u);
  EXPECT_EQ(winsim::WindowStyle(desktop.listView), before) << "every other bit stays";
  EXPECT_EQ(OptionValue("Protection"), 0u);
}

TEST_F(Protection, SwitchStoresTheOptionAndEndsTheProgram) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  EXPECT_EQ(Run("/protected"), 0);
  EXPECT_FALSE(Editable(desktop.listView));
  EXPECT_EQ(OptionValue("Protection"), 1u);
  EXPECT_EQ(winsim::CallsTo("CreateWindowExA").size(), 0u) << "no tray";
  EXPECT_TRUE(winsim::NotificationIcons().empty());
}

TEST_F(Protection, StartupAppliesTheStoredOptionWithoutWritingIt) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "Protection", 1);
  bool editable = true;
  RunThenQuit({[&] { editable = Editable(desktop.listView); }});
  EXPECT_FALSE(editable);
  for (const auto &call : winsim::CallsTo("RegSetValueExA"))
    EXPECT_EQ(call.detail.find("Protection"), std::string::npos) << call.detail;
}

TEST_F(Protection, StartupWithTheOptionOffLeavesTheListViewAlone) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, LVS_ICON);
  RunThenQuit({});
  EXPECT_TRUE(winsim::CallsTo("SetWindowLongA").empty());
  EXPECT_FALSE(Editable(desktop.listView));
}

TEST_F(Protection, WithoutAListViewNothingIsStored) {
  EXPECT_EQ(Run("/PROTECTED"), 0);
  EXPECT_FALSE(OptionStored("Protection"));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(Protection, AStyleThatReadsZeroStopsIt) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  winsim::FailNext("GetWindowLongA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/PROTECTED"), 0);
  EXPECT_TRUE(Editable(desktop.listView));
  EXPECT_TRUE(winsim::CallsTo("SetWindowLongA").empty());
  EXPECT_FALSE(OptionStored("Protection"));
}

TEST_F(Protection, FailedStyleWriteStoresNothingButTheFlagStaysInverted) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  RunThenQuit({[] { winsim::FailNext("SetWindowLongA", ERROR_ACCESS_DENIED); }, Choose(CMD_PROTECTION),
               OpenAndDismiss()});
  EXPECT_TRUE(Editable(desktop.listView));
  EXPECT_FALSE(OptionStored("Protection"));
  EXPECT_EQ(ItemText(CMD_PROTECTION), "Protection des noms d'ic\xF4nes\t[active]");
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(Protection, LegacySystemsStillApplyTheSwitch) {
  winsim::SetOsVersion(winsim::Windows98SE());
  winsim::ShellDesktopSetup setup;
  setup.shellKind = winsim::ProcessKind::Native32;
  setup.listViewStyle = kEditable;
  auto desktop = winsim::BuildShellDesktop(setup);
  EXPECT_EQ(Run("/PROTECTED"), 0);
  EXPECT_FALSE(Editable(desktop.listView));
  EXPECT_EQ(OptionValue("Protection"), 1u);
}

}  // namespace
