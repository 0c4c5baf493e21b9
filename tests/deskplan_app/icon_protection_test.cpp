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

const char kNotApplied[] =
    "La protection des noms d'ic\xF4nes n'a pas pu \xEAtre mise en place : le bureau est introuvable ou refuse "
    "la modification.\r\nElle le sera d\xE8s que le bureau sera de nouveau disponible.";

TEST_F(Protection, ASwitchThatCannotProtectKeepsTheChoiceTellsUnlessQuietAndEndsWithCodeOne) {
  for (const char *arguments : {"/PROTECTED", "/NOPROMPT /PROTECTED"}) {
    SetUp();
    EXPECT_EQ(Run(arguments), 1) << "no desktop view";
    EXPECT_EQ(OptionValue("Protection"), 1u) << "the next tray start applies it";
    const bool quiet = std::string(arguments).find("/NOPROMPT") != std::string::npos;
    ASSERT_EQ(winsim::MessageBoxes().size(), quiet ? 0u : 1u) << arguments;
    if (!quiet) {
      EXPECT_EQ(winsim::MessageBoxes()[0].text, kNotApplied);
      EXPECT_EQ(winsim::MessageBoxes()[0].type, static_cast<UINT>(MB_ICONWARNING));
    }
  }
  // A style that reads as 0 is not written back.
  SetUp();
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  winsim::FailNext("GetWindowLongA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(Run("/NOPROMPT /PROTECTED"), 1);
  EXPECT_TRUE(Editable(desktop.listView));
  EXPECT_TRUE(winsim::CallsTo("SetWindowLongA").empty());
}

// The menu shows the protection in force: while the desktop refuses it, the
// item stays "non active", the user is told, and the shell's return applies
// the choice to its new view.
TEST_F(Protection, TheMenuShowsWhatIsInForceAndTheShellsReturnAppliesTheChoice) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  std::string whileRefused, afterReturn;
  bool editableWhileRefused = false;
  winsim::ShellDesktop reborn;
  RunThenQuit({[] { winsim::FailNext("SetWindowLongA", ERROR_ACCESS_DENIED); }, Choose(CMD_PROTECTION),
               OpenAndDismiss(),
               [&] {
                 whileRefused = ItemText(CMD_PROTECTION);
                 editableWhileRefused = Editable(desktop.listView);
                 winsim::EndProcess(desktop.processId);
                 reborn = Desktop({{"Corbeille", 10, 20}}, kEditable);
               },
               winsim::RestartShellTaskbar(), OpenAndDismiss(),
               [&] { afterReturn = ItemText(CMD_PROTECTION); }});
  EXPECT_TRUE(editableWhileRefused);
  EXPECT_EQ(whileRefused, "Protection des noms d'ic\xF4nes\t[non active]");
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].text, kNotApplied);
  EXPECT_EQ(OptionValue("Protection"), 1u) << "the choice is kept";
  EXPECT_FALSE(Editable(reborn.listView));
  EXPECT_EQ(afterReturn, "Protection des noms d'ic\xF4nes\t[active]");

  // Quiet, nothing is shown; choosing the item again asks for protection
  // again, since it is not in force.
  SetUp();
  desktop = Desktop({{"Corbeille", 10, 20}}, kEditable);
  RunThenQuit({[] { winsim::FailNext("SetWindowLongA", ERROR_ACCESS_DENIED); }, Choose(CMD_PROTECTION),
               Choose(CMD_PROTECTION), OpenAndDismiss()},
              "/NOPROMPT");
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_FALSE(Editable(desktop.listView));
  EXPECT_EQ(ItemText(CMD_PROTECTION), "Protection des noms d'ic\xF4nes\t[active]");
  EXPECT_EQ(OptionValue("Protection"), 1u);
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
