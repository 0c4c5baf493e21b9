// Restores that wait for the shell: after a change of display mode (the shell
// lays its icons out again), at a start before the desktop is made or while
// it fills, after the shell starts again. Time is the machine's own clock,
// moved by the script while the tray waits in its message loop.
#include <gtest/gtest.h>

#include "deskplan/app/desktop_wait.h"
#include "tray_world.h"

namespace {

using Points = std::vector<std::pair<int, int>>;
const char k800x600[] = "Software\\Ostrafen\\Deskplan\\800x600";

class DesktopWait : public TrayWorld {
 protected:
  void SetUp() override {
    TrayWorld::SetUp();
    moveTimes_.clear();
    desktop_ = Desktop({{"Corbeille", 10, 20}, {"Documents", 10, 90}});
    StoreIcon("Corbeille", 300, 400, k800x600);
    StoreIcon("Documents", 300, 480, k800x600);
    WatchMoves(desktop_.listView);
  }

  // Records the clock at each move the program makes in the view.
  void WatchMoves(HWND listView) {
    winsim::SetListViewObserver(listView, [this](UINT message, WPARAM, LPARAM) {
      if (message == LVM_SETITEMPOSITION) moveTimes_.push_back(winsim::Ticks());
    });
  }

  // The shell moves its icons by itself, as its own re-layout does.
  void ShellMoves(DWORD after, Points places) {
    HWND view = desktop_.listView;
    winsim::ScheduleEvent(after, [view, places] {
      auto icons = winsim::ListViewIcons(view);
      for (size_t i = 0; i < icons.size() && i < places.size(); ++i) {
        icons[i].x = places[i].first;
        icons[i].y = places[i].second;
      }
      winsim::SetListViewIcons(view, icons);
    });
  }

  winsim::IdleAction MarkTime(DWORD &at) {
    return [&at] { at = winsim::Ticks(); };
  }

  // Milliseconds from `from` to the program's first move; -1 when none.
  long FirstMoveAfter(DWORD from) const {
    return moveTimes_.empty() ? -1 : static_cast<long>(static_cast<DWORD>(moveTimes_.front() - from));
  }

  winsim::ShellDesktop desktop_;
  std::vector<DWORD> moveTimes_;
};

TEST_F(DesktopWait, DisplayChangesAreFoldedIntoOneRestoreAfterTheShellsOwnRelayout) {
  StoreIcon("Corbeille", 111, 111, "Software\\Ostrafen\\Deskplan\\1280x1024");
  DWORD lastChange = 0;
  size_t boxes = 0;
  RunThenQuit({winsim::ChangeDisplayMode(1280, 1024), winsim::Elapse(300), winsim::ChangeDisplayMode(1024, 768),
               winsim::Elapse(300), winsim::ChangeDisplayMode(800, 600), MarkTime(lastChange),
               [&] {
                 ShellMoves(400, {{0, 0}, {0, 70}});
                 ShellMoves(1400, {{0, 0}, {70, 0}});
                 ShellMoves(2600, {{5, 5}, {75, 5}});
               },
               winsim::Elapse(6000), [&] { boxes = winsim::MessageBoxes().size(); }});
  EXPECT_EQ(Positions(desktop_.listView), (Points{{300, 400}, {300, 480}})) << "the layout of the final size";
  EXPECT_EQ(moveTimes_.size(), 4u) << "one restore of two passes over two icons";
  // Quiet for 1.5 s after the shell's last step, as the polls see it.
  EXPECT_GE(FirstMoveAfter(lastChange), 2600 + 1500);
  EXPECT_LT(FirstMoveAfter(lastChange), 2600 + 1500 + 2 * static_cast<long>(kSettlePollInterval));
  EXPECT_EQ(boxes, 0u);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(DesktopWait, DisplayChangeRestoreKeepsItsMinimumDelayAndItsMaximum) {
  DWORD changed = 0;
  RunThenQuit({winsim::ChangeDisplayMode(800, 600), MarkTime(changed), winsim::Elapse(3000)});
  EXPECT_EQ(FirstMoveAfter(changed), 2000) << "a quiet desktop still waits for the shell to begin";

  // A shell that never stops moving an icon: the restore comes anyway.
  SetUp();
  std::function<void()> fidget;
  int step = 0;
  fidget = [&] {
    ShellMoves(0, {{10 + (++step % 2), 20}});
    winsim::ScheduleEvent(200, fidget);
  };
  RunThenQuit({winsim::ChangeDisplayMode(800, 600), MarkTime(changed), [&] { fidget(); }, winsim::Elapse(21000)});
  EXPECT_GE(FirstMoveAfter(changed), 20000);
  EXPECT_LT(FirstMoveAfter(changed), 20000 + static_cast<long>(kSettlePollInterval));
}

TEST_F(DesktopWait, MenuRestoreQuitOrAutomaticOffEndsAWaitInProgress) {
  DWORD chosen = 0;
  RunThenQuit({winsim::ChangeDisplayMode(800, 600), winsim::Elapse(500), MarkTime(chosen), Choose(CMD_RESTORE),
               winsim::Elapse(25000)});
  EXPECT_EQ(moveTimes_.size(), 4u) << "the menu's restore alone";
  EXPECT_EQ(FirstMoveAfter(chosen), 0);

  SetUp();
  RunThenQuit({winsim::ChangeDisplayMode(800, 600), winsim::Elapse(500), Choose(CMD_AUTOMATIC),
               winsim::Elapse(25000)});
  EXPECT_TRUE(moveTimes_.empty()) << "automatic restores turned off meanwhile";

  SetUp();
  EXPECT_EQ(RunThenQuit({winsim::ChangeDisplayMode(800, 600), winsim::Elapse(500)}), 0);
  EXPECT_TRUE(moveTimes_.empty());
  EXPECT_TRUE(winsim::ProgramWindows().empty());
  EXPECT_TRUE(NothingHeld()) << "the watch's channel into the shell is released";
}

TEST_F(DesktopWait, ViewThatVanishesDuringAWaitIsRestoredWhenItComesBack) {
  winsim::ShellDesktop again;
  RunThenQuit({winsim::ChangeDisplayMode(800, 600), winsim::Elapse(500),
               [&] { winsim::RemoveForeignWindow(desktop_.progman); }, winsim::Elapse(3000),
               [&] {
                 again = Desktop({{"Corbeille", 1, 2}, {"Documents", 3, 4}});
                 WatchMoves(again.listView);
               },
               winsim::Elapse(2500)});
  ASSERT_TRUE(again.listView);
  EXPECT_EQ(Positions(again.listView), (Points{{300, 400}, {300, 480}}));
  EXPECT_TRUE(winsim::MessageBoxes().empty());

  // Gone for good: the wait ends at its maximum, silently.
  SetUp();
  size_t timers = 99;
  RunThenQuit({winsim::ChangeDisplayMode(800, 600), [&] { winsim::RemoveForeignWindow(desktop_.progman); },
               winsim::Elapse(20500), [&] { timers = winsim::ActiveTimers(); }});
  EXPECT_EQ(timers, 0u);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(NothingHeld());
}

TEST_F(DesktopWait, StartUpWaitsForALateDesktopThatFillsInBatches) {
  TrayWorld::SetUp();
  winsim::SetScreen(800, 600);
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 1);
  StoreIcon("Corbeille", 300, 400, k800x600);
  StoreIcon("Documents", 300, 480, k800x600);
  winsim::ShellDesktop late;
  winsim::ScheduleEvent(4000, [&] { late = Desktop({{"Corbeille", 10, 20}}); });
  winsim::ScheduleEvent(4600, [&] { winsim::SetListViewIcons(late.listView, {{"Corbeille", 10, 20}, {"Documents", 10, 90}}); });
  winsim::SetIdleScript({winsim::Elapse(7000), winsim::CloseProgramWindow("Deskplan")});
  EXPECT_EQ(Run(), 0);
  ASSERT_TRUE(late.listView);
  EXPECT_EQ(Positions(late.listView), (Points{{300, 400}, {300, 480}})) << "both batches restored";

  // With no layout yet, the first one holds every icon of the filled desktop.
  TrayWorld::SetUp();
  winsim::ScheduleEvent(3000, [&] { late = Desktop({{"Corbeille", 10, 20}}); });
  winsim::ScheduleEvent(3500, [&] { winsim::SetListViewIcons(late.listView, {{"Corbeille", 10, 20}, {"Documents", 10, 90}}); });
  winsim::SetIdleScript({winsim::Elapse(6000), winsim::CloseProgramWindow("Deskplan")});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Corbeille", "Documents"}));
}

TEST_F(DesktopWait, DesktopThatNeverSettlesGetsNoFirstLayoutAndNoViewMeansNothing) {
  TrayWorld::SetUp();
  auto busy = Desktop({{"Corbeille", 10, 20}});
  std::function<void()> grow;
  std::vector<winsim::DesktopIcon> icons = {{"Corbeille", 10, 20}};
  grow = [&] {
    icons.push_back({"Icone " + std::to_string(icons.size()), 10, 20});
    winsim::SetListViewIcons(busy.listView, icons);
    winsim::ScheduleEvent(1000, grow);
  };
  winsim::ScheduleEvent(1000, grow);
  winsim::SetIdleScript({winsim::Elapse(61000), winsim::CloseProgramWindow("Deskplan")});
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath)) << "a layout of a desktop still filling";

  // "/AUTOLOAD" before any desktop: it waits its minute, then does nothing.
  TrayWorld::SetUp();
  const DWORD start = winsim::Ticks();
  EXPECT_EQ(Run("/AUTOLOAD"), 0);
  EXPECT_GE(static_cast<DWORD>(winsim::Ticks() - start), 60000u);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(NothingHeld());
}

TEST_F(DesktopWait, AutoloadRestoresTheDesktopThatAppearsWhileItWaits) {
  TrayWorld::SetUp();
  StoreIcon("Corbeille", 300, 400);
  StoreIcon("Documents", 300, 480);
  winsim::ShellDesktop late;
  winsim::ScheduleEvent(2500, [&] { late = Desktop({{"Corbeille", 10, 20}}); });
  winsim::ScheduleEvent(3000, [&] { winsim::SetListViewIcons(late.listView, {{"Corbeille", 10, 20}, {"Documents", 10, 90}}); });
  EXPECT_EQ(Run("/AUTOLOAD"), 0);
  ASSERT_TRUE(late.listView);
  EXPECT_EQ(Positions(late.listView), (Points{{300, 400}, {300, 480}}));

  // A save takes the desktop as it is, at once.
  const DWORD before = winsim::Ticks();
  EXPECT_EQ(Run("/NOPROMPT /AUTOSAVE"), 0);
  EXPECT_EQ(winsim::Ticks(), before);
}

TEST_F(DesktopWait, ShellRestartBringsTheLayoutBackOnlyWhenRestoresAreAutomatic) {
  for (bool automatic : {true, false}) {
    SCOPED_TRACE(automatic ? "automatic" : "not automatic");
    SetUp();
    winsim::SetScreen(800, 600);
    if (!automatic) winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "Automatique", 0);
    winsim::ShellDesktop again;
    size_t icons = 0;
    RunThenQuit({[&] {
                   winsim::RemoveForeignWindow(desktop_.progman);
                   again = Desktop({{"Corbeille", 1, 2}, {"Documents", 3, 4}});
                 },
                 winsim::RestartShellTaskbar(), winsim::Elapse(2000),
                 [&] { icons = winsim::NotificationIcons().size(); }});
    ASSERT_TRUE(again.listView);
    EXPECT_EQ(icons, 1u);
    EXPECT_EQ(Positions(again.listView), automatic ? (Points{{300, 400}, {300, 480}}) : (Points{{1, 2}, {3, 4}}));
  }
}

}  // namespace
