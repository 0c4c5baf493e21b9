// The list view's redraw is off while a restore moves icons, and on every way
// out it is back on and the view invalidated once, so the shell repaints once
// per restore instead of after every move.
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/os_error.h"
#include "deskplan/layout/layout_command.h"
#include "deskplan/view/item_buffers.h"
#include "layout_world.h"
#include "winsim/trace.h"

namespace {

class RedrawDuringRestore : public LayoutWorld {
 protected:
  // `count` icons, each stored at another place than where it stands.
  winsim::ShellDesktop StoredDesktop(int count) {
    std::vector<winsim::DesktopIcon> icons;
    for (int i = 0; i < count; ++i) {
      icons.push_back({"Ic\xF4ne " + std::to_string(i), 0, 0});
      StoreIcon(icons.back().caption, 10 + i, 20 + i);
    }
    return ModernDesktop(icons);
  }

  // The view draws again and was repainted whole once, after the moves.
  static void ExpectRedrawingAgain(HWND view) {
    const auto painting = winsim::ListViewPaintState(view);
    EXPECT_TRUE(painting.redraw);
    EXPECT_EQ(painting.invalidations, 1);
    EXPECT_EQ(painting.paints, 1);
  }
};

TEST_F(RedrawDuringRestore, TheViewRepaintsOnceAfterBothPasses) {
  auto desktop = StoredDesktop(3);
  RunLayoutCommand(kRestoreLayout);
  ExpectRedrawingAgain(desktop.listView);
  EXPECT_EQ(winsim::LockedWindow(), nullptr) << "the drawing lock is given back";
  EXPECT_EQ(Positions(desktop.listView)[2], std::make_pair(12, 22));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RedrawDuringRestore, AThousandIconsCostOneRepaintNotTwoThousand) {
  auto desktop = StoredDesktop(1000);
  RunLayoutCommand(kRestoreLayout);
  ExpectRedrawingAgain(desktop.listView);
  EXPECT_EQ(Positions(desktop.listView)[999], std::make_pair(1009, 1019));
}

TEST_F(RedrawDuringRestore, ACopyFailingMidPassStillTurnsRedrawBackOn) {
  auto desktop = StoredDesktop(kItemBatchSize + 10);
  winsim::FailNext("ReadProcessMemory", ERROR_PARTIAL_COPY, 1);  // the second batch
  EXPECT_THROW(RunLayoutCommand(kRestoreLayout), OsError);
  ExpectRedrawingAgain(desktop.listView);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RedrawDuringRestore, AnExceptionLeavingThePassStillTurnsRedrawBackOn) {
  auto desktop = StoredDesktop(20);
  int moves = 0;
  winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
    if (message == LVM_SETITEMPOSITION && ++moves == 5) throw std::runtime_error("plus de m\xE9moire");
  });
  EXPECT_THROW(RunLayoutCommand(kRestoreLayout), std::runtime_error);
  winsim::SetListViewObserver(desktop.listView, nullptr);
  ExpectRedrawingAgain(desktop.listView);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RedrawDuringRestore, AShellThatVanishesMidPassLeavesNothingHeld) {
  auto desktop = StoredDesktop(100);
  winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM index, LPARAM) {
    if (message == LVM_SETITEMPOSITION && index == 10) winsim::RemoveForeignWindow(desktop.listView);
  });
  // The next batch finds the view gone: the restore breaks off and says so.
  EXPECT_THROW(RunLayoutCommand(kRestoreLayout), OsError);
  EXPECT_FALSE(winsim::WindowExists(desktop.listView));
  EXPECT_TRUE(NothingHeld());
  // The window was gone before the guard's last word: both calls were still made.
  EXPECT_EQ(winsim::CallSequence({"WM_SETREDRAW", "InvalidateRect"}).back(), "InvalidateRect");
}

TEST_F(RedrawDuringRestore, NothingIsFrozenWhenNoPassCanMoveAnything) {
  auto desktop = StoredDesktop(3);
  winsim::RefuseOpenProcess(desktop.processId);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::CountCalls("WM_SETREDRAW"), 0u);
  EXPECT_EQ(winsim::ListViewPaintState(desktop.listView).paints, 0);
  EXPECT_TRUE(NothingHeld());

  SetUp();
  auto bare = ModernDesktop({{"A", 1, 1}});  // no stored layout at all
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::CountCalls("WM_SETREDRAW") + winsim::CountCalls("InvalidateRect"), 0u);
  EXPECT_EQ(winsim::ListViewPaintState(bare.listView).paints, 0);
}

TEST_F(RedrawDuringRestore, ASecondPassThatCannotStartStillEndsWithTheRepaint) {
  auto desktop = StoredDesktop(3);
  winsim::FailNext("OpenProcess", ERROR_ACCESS_DENIED, 1);  // the second pass's
  RunLayoutCommand(kRestoreLayout);
  ExpectRedrawingAgain(desktop.listView);
  EXPECT_EQ(winsim::CountCalls("WM_SETREDRAW"), 2u);
  EXPECT_EQ(Positions(desktop.listView)[0], std::make_pair(10, 20));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RedrawDuringRestore, TheSharedAreaPassRepaintsOnceToo) {
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < 50; ++i) icons.push_back({"Ic" + std::to_string(i), 0, 0});
  auto desktop = LegacyDesktop(icons);
  for (int i = 0; i < 50; ++i)
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Ic" + std::to_string(i),
                             PackedIconPosition::Pack(i, 2 * i));
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::CountCalls("LVM_SETITEMPOSITION32"), 50u);
  EXPECT_EQ(winsim::ListViewPaintState(desktop.listView).paints, 1);
  ExpectRedrawingAgain(desktop.listView);
  EXPECT_EQ(Positions(desktop.listView)[49], std::make_pair(49, 98));
  EXPECT_TRUE(NothingHeld());
}

}  // namespace
