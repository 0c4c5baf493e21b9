// The icon in the notification area: added when the hidden window is created,
// removed on quit, kept when a restore breaks off, added again when the shell
// starts anew; mouse events on it open the menu.
#include <gtest/gtest.h>

#include "tray_world.h"

namespace {

using TrayIcon = TrayWorld;

TEST_F(TrayIcon, ShowsWhileTheTrayRunsWithTheFirstVersionRecordAndGoesOnQuit) {
  Desktop({{"Corbeille", 10, 20}});
  std::vector<winsim::NotificationIcon> shown;
  std::vector<winsim::LoadedIcon> loaded;
  HWND window = nullptr;
  EXPECT_EQ(RunThenQuit({[&] {
              shown = winsim::NotificationIcons();
              loaded = winsim::LiveIcons();
              window = winsim::FindProgramWindow("Deskplan");
            }}),
            0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].window, window);
  EXPECT_EQ(shown[0].id, 1u);
  EXPECT_EQ(shown[0].flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(shown[0].callbackMessage, 1124u);
  EXPECT_EQ(shown[0].tip, "Deskplan");
  EXPECT_EQ(shown[0].recordSize, sizeof(void *) == 8 ? 104u : 88u) << "the first version's size";
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(shown[0].icon, loaded[0].handle);
  EXPECT_EQ(loaded[0].group, "MAINICON9X");
  EXPECT_EQ(loaded[0].size, 16);

  EXPECT_TRUE(winsim::NotificationIcons().empty()) << "quitting removes the icon";
  EXPECT_TRUE(winsim::LiveIcons().empty()) << "and releases its image";
  EXPECT_TRUE(winsim::ProgramWindows().empty());
  EXPECT_EQ(winsim::CallsTo("ShowWindow").back().detail, "Progman " + std::to_string(SW_RESTORE));
  EXPECT_EQ(winsim::LiveMenuCount(), 0);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(TrayIcon, RestoreThatBreaksOffAtStartupIsReportedAndTheIconStaysUntilQuit) {
  Desktop({{"Corbeille", 10, 20}});
  StoreIcon("Corbeille", 300, 400);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 1);
  winsim::FailAlways("WriteProcessMemory", ERROR_ACCESS_DENIED);
  size_t iconsAfterTheBox = 0;
  EXPECT_EQ(RunThenQuit({[&] { iconsAfterTheBox = winsim::NotificationIcons().size(); }}), 0);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].caption, "Erreur d'application");
  EXPECT_EQ(iconsAfterTheBox, 1u) << "the tray goes on after the report";
  EXPECT_TRUE(winsim::NotificationIcons().empty());
  EXPECT_TRUE(winsim::LiveIcons().empty());
}

TEST_F(TrayIcon, ComesBackWhenTheShellStartsAgain) {
  Desktop({});
  std::vector<winsim::NotificationIcon> before, during, after, twice;
  RunThenQuit({[&] { before = winsim::NotificationIcons(); },
               winsim::RestartShellTaskbar(),
               [&] { after = winsim::NotificationIcons(); },
               // A broadcast while the icon is there leaves one icon.
               winsim::BroadcastRegisteredMessage("TaskbarCreated"),
               [&] { twice = winsim::NotificationIcons(); }});
  ASSERT_EQ(before.size(), 1u);
  ASSERT_EQ(after.size(), 1u) << "the icon is added again";
  EXPECT_EQ(after[0].icon, before[0].icon);
  EXPECT_EQ(after[0].callbackMessage, 1124u);
  EXPECT_EQ(after[0].tip, "Deskplan");
  EXPECT_EQ(twice.size(), 1u);
  EXPECT_TRUE(winsim::NotificationIcons().empty());
  EXPECT_TRUE(winsim::LiveIcons().empty());
}

TEST_F(TrayIcon, OnlyButtonPressesOpenTheMenu) {
  Desktop({});
  std::vector<winsim::IdleAction> clicks;
  for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN})
    clicks.push_back(winsim::ClickNotificationIcon(mouse));
  std::vector<winsim::ShownMenu> afterOthers;
  clicks.push_back([&] { afterOthers = winsim::ShownMenus(); });
  clicks.push_back(winsim::ClickNotificationIcon(WM_LBUTTONDOWN));
  clicks.push_back(winsim::ClickNotificationIcon(WM_RBUTTONDOWN));
  RunThenQuit(clicks);
  EXPECT_TRUE(afterOthers.empty());
  // Left press, right press, and the one that chose "quit".
  EXPECT_EQ(winsim::ShownMenus().size(), 3u);
}

TEST_F(TrayIcon, MenuOpensAtTheCursorInTheForegroundAndIsDestroyedEachTime) {
  Desktop({});
  winsim::SetCursorPosition(1200, 1010);
  HWND window = nullptr;
  RunThenQuit({[&] { window = winsim::FindProgramWindow("Deskplan"); }, OpenAndDismiss(), OpenAndDismiss()});
  auto menus = winsim::ShownMenus();
  ASSERT_EQ(menus.size(), 3u);
  for (const auto &menu : menus) {
    EXPECT_EQ(menu.flags, 0x28u);
    EXPECT_EQ(menu.x, 1200);
    EXPECT_EQ(menu.y, 1010);
    EXPECT_EQ(menu.owner, window);
  }
  EXPECT_EQ(winsim::CallSequence({"CreatePopupMenu", "SetForegroundWindow", "TrackPopupMenu", "DestroyMenu"}),
            (std::vector<std::string>{"CreatePopupMenu", "SetForegroundWindow", "TrackPopupMenu",
                                      "SetForegroundWindow", "DestroyMenu", "CreatePopupMenu",
                                      "SetForegroundWindow", "TrackPopupMenu", "SetForegroundWindow", "DestroyMenu",
                                      "CreatePopupMenu", "SetForegroundWindow", "TrackPopupMenu",
                                      "SetForegroundWindow", "DestroyMenu"}));
  EXPECT_EQ(winsim::LiveMenuCount(), 0);
}

TEST_F(TrayIcon, MenuThatCannotBeShownIsStillDestroyed) {
  Desktop({});
  RunThenQuit({[] { winsim::FailNext("TrackPopupMenu", ERROR_NOT_ENOUGH_MEMORY); }, OpenAndDismiss()});
  EXPECT_EQ(winsim::CallSequence({"SetForegroundWindow", "TrackPopupMenu", "DestroyMenu"}).size(), 2u + 4u)
      << "no second SetForegroundWindow after the failed one";
  EXPECT_EQ(winsim::LiveMenuCount(), 0);
}

}  // namespace
