#include <gtest/gtest.h>

#include "common/os_error.h"
#include "deskplan/layout/layout_command.h"
#include "layout_world.h"

namespace {

using RestoreCommand = LayoutWorld;
using Points = std::vector<std::pair<int, int>>;
const LONG kArrangeBits = LVS_AUTOARRANGE | LVS_EDITLABELS;

TEST_F(RestoreCommand, PutsEveryStoredIconBack) {
  auto desktop = ModernDesktop({{"Corbeille", 0, 0}, {"Inconnu", 9, 9}, {"Caf\xE9\xA0noir", 0, 0}});
  StoreIcon("Corbeille", 100, 200);
  StoreIcon("CAF\xC9\xA0NOIR", -5, 40);  // names match without regard to case
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{100, 200}, {9, 9}, {-5, 40}}));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(NothingHeld());
}

TEST_F(RestoreCommand, EqualCaptionsMatchTheirSuffixedNamesInOrder) {
  auto desktop = ModernDesktop({{"T", 0, 0}, {"T", 0, 0}});
  StoreIcon("T", 10, 10);
  StoreIcon("T" + kSeparator + "(1)", 20, 20);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{10, 10}, {20, 20}}));
}

TEST_F(RestoreCommand, NameIsTakenOnlyWhenFound) {
  auto desktop = ModernDesktop({{"T", 1, 1}, {"T", 2, 2}});
  StoreIcon("T" + kSeparator + "(1)", 20, 20);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {2, 2}}));
}

TEST_F(RestoreCommand, OnlyEightByteBinaryValuesCount) {
  auto desktop = ModernDesktop({{"Dword", 1, 1}, {"Short", 2, 2}, {"Long", 3, 3}, {"Good", 4, 4}});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Dword", 0x00100010);
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kLayoutPath, "Short", REG_BINARY, {50, 0, 0, 0});
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kLayoutPath, "Long", REG_BINARY, std::vector<BYTE>(12, 1));
  StoreIcon("Good", 44, 44);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {2, 2}, {3, 3}, {44, 44}}));
}

TEST_F(RestoreCommand, UnknownStoredPositionTakesItsNameButLeavesTheIcon) {
  auto desktop = ModernDesktop({{"T", 1, 1}, {"T", 2, 2}});
  StoreIcon("T", -1, -1);
  StoreIcon("T" + kSeparator + "(1)", 20, 20);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {20, 20}}));
}

TEST_F(RestoreCommand, CoordinatesKeepTheirLowSixteenBits) {
  auto desktop = ModernDesktop({{"Far", 0, 0}});
  StoreIcon("Far", 65536 + 12, -3);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{12, -3}}));
}

TEST_F(RestoreCommand, RunsTwoPassesWithTheDrawingLockedEachTime) {
  auto desktop = ModernDesktop({{"A", 0, 0}});
  StoreIcon("A", 5, 5);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 2u);
  auto locks = winsim::LockWindowUpdateCalls();
  ASSERT_EQ(locks.size(), 4u);
  EXPECT_EQ(locks[0].window, desktop.listView);
  EXPECT_EQ(locks[1].window, nullptr);
  EXPECT_EQ(locks[2].window, desktop.listView);
  EXPECT_EQ(locks[3].window, nullptr);
}

TEST_F(RestoreCommand, AutoArrangeIsSwitchedOffAfterANoticeBeforeAnyIconMoves) {
  auto desktop = ModernDesktop({{"A", 0, 0}}, LVS_ICON | LVS_AUTOARRANGE | LVS_EDITLABELS);
  StoreIcon("A", 5, 5);
  winsim::SetListViewObserver(desktop.listView, [&](UINT message, WPARAM, LPARAM) {
    if (message == LVM_SETITEMPOSITION) {
      EXPECT_EQ(winsim::MessageBoxes().size(), 1u);
    }
  });
  RunLayoutCommand(kRestoreLayout);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u) << "the second pass finds the bit already clear";
  auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.text, "Veuillez d\xE9sactiver l'option du bureau :\r\nAffichage : R\xE9organisation automatique");
  EXPECT_EQ(box.caption, "Deskplan");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(winsim::WindowStyle(desktop.listView) & kArrangeBits, LVS_EDITLABELS) << "only the arrangement bit changes";
  EXPECT_EQ(Positions(desktop.listView), (Points{{5, 5}}));
}

TEST_F(RestoreCommand, QuietModeClearsAutoArrangeSilently) {
  auto desktop = ModernDesktop({{"A", 0, 0}}, LVS_ICON | LVS_AUTOARRANGE);
  StoreIcon("A", 5, 5);
  AppOptions.quiet = true;
  RunLayoutCommand(kRestoreLayout);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(winsim::WindowStyle(desktop.listView) & kArrangeBits, 0);
}

TEST_F(RestoreCommand, MissingLayoutDoesNothingAtAll) {
  auto desktop = ModernDesktop({{"A", 3, 3}}, LVS_ICON | LVS_AUTOARRANGE);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(winsim::LockWindowUpdateCalls().empty());
  EXPECT_EQ(winsim::WindowStyle(desktop.listView) & kArrangeBits, LVS_AUTOARRANGE);
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 0u);
}

TEST_F(RestoreCommand, DrawingLockHeldByAnotherWindowIsNotTakenAway) {
  auto desktop = ModernDesktop({{"A", 0, 0}});
  StoreIcon("A", 5, 5);
  HWND other = winsim::AddForeignWindow({"Autre", "", nullptr, desktop.processId, 0, {}, 0});
  ASSERT_TRUE(LockWindowUpdate(other));
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::LockedWindow(), other);
  EXPECT_EQ(Positions(desktop.listView), (Points{{5, 5}}));
}

TEST_F(RestoreCommand, FailedMemoryCopyLeavesTheCommandAfterReleasingEverything) {
  // Two batches: the first batch's icons are moved, then the second batch's
  // copy into the shell fails.
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < 70; ++i) {
    icons.push_back({"Ic" + std::to_string(i), 0, 0});
    StoreIcon("Ic" + std::to_string(i), i + 1, i + 1);
  }
  auto desktop = ModernDesktop(icons);
  winsim::FailNext("WriteProcessMemory", ERROR_ACCESS_DENIED, 1);
  try {
    RunLayoutCommand(kRestoreLayout);
    ADD_FAILURE() << "the error must reach the caller";
  } catch (const OsError &error) {
    EXPECT_EQ(error.Code(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(std::string(error.what()), "Erreur syst\xE8me.  Code : 5.\r\nAcc\xE8s refus\xE9");
  }
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 1u) << "the second pass does not run";
  auto positions = Positions(desktop.listView);
  EXPECT_EQ(positions[63], std::make_pair(64, 64));
  EXPECT_EQ(positions[64], std::make_pair(0, 0));
  EXPECT_TRUE(NothingHeld());
}

}  // namespace
