// Saves and restores against a desktop view that misbehaves: items that go
// away during a walk, a shell that ends during the moves, captions that fill
// the whole buffer without a terminating zero, and a count larger than the
// items held. The stored layout stays the old one or becomes the whole new
// one, and a pass that could not do its job raises the error its caller
// reports.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include <commctrl.h>

#include "common/os_error.h"
#include "deskplan/layout/layout_command.h"
#include "layout_world.h"

namespace {

using HostileView = LayoutWorld;
using Points = std::vector<std::pair<int, int>>;

// The error code that left the command, or 0 when it passed.
DWORD CommandFailure(LayoutMode mode) {
  try {
    RunLayoutCommand(mode);
  } catch (const OsError &error) {
    return error.Code();
  }
  return 0;
}

std::vector<winsim::DesktopIcon> Icons(int count, int offset = 0) {
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < count; ++i) icons.push_back({"Ic\xF4ne " + std::to_string(i), i + offset, 2 * i + offset});
  return icons;
}

// After the view has answered `messages` of the given kind, `change` acts.
void After(const winsim::ShellDesktop &desktop, UINT kind, int messages, std::function<void()> change) {
  auto answered = std::make_shared<int>(0);
  winsim::SetListViewObserver(desktop.listView, [=](UINT message, WPARAM, LPARAM) {
    if (message == kind && ++*answered == messages) change();
  });
}

TEST_F(HostileView, ItemsGoingAwayDuringASaveKeepTheOldLayoutAndAskForARetry) {
  // The view empties or shrinks in the first batch, at its edge, or in the
  // second one; the old layout stays whole either way.
  struct Case {
    int afterQueries;
    int left;  // items the view still holds
  };
  for (const Case &test : {Case{10, 0}, Case{64, 0}, Case{66, 0}, Case{10, 40}, Case{66, 68}}) {
    SCOPED_TRACE(std::to_string(test.afterQueries) + " queries, " + std::to_string(test.left) + " left");
    SetUp();
    auto desktop = ModernDesktop(Icons(70));
    StoreIcon("Ancien", 5, 5);
    AppOptions.quiet = true;
    After(desktop, LVM_GETITEMA, test.afterQueries, [&] { winsim::SetListViewIcons(desktop.listView, Icons(test.left)); });
    EXPECT_EQ(CommandFailure(kSaveLayout), static_cast<DWORD>(ERROR_RETRY));
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"});
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(HostileView, AViewEmptiedOnlyAfterTheWholeWalkIsSavedWhole) {
  auto desktop = ModernDesktop(Icons(70));
  StoreIcon("Ancien", 5, 5);
  AppOptions.quiet = true;
  After(desktop, LVM_GETITEMPOSITION, 70, [&] { winsim::SetListViewIcons(desktop.listView, {}); });
  EXPECT_EQ(CommandFailure(kSaveLayout), 0u);
  EXPECT_EQ(StoredNames().size(), 70u);
  EXPECT_EQ(Stored("Ic\xF4ne 69").x, 69);
  EXPECT_EQ(Stored("Ic\xF4ne 69").y, 138);
}

TEST_F(HostileView, ItemsGoingAwayDuringARestoreAreReportedAndTheLayoutIsLeftAlone) {
  auto desktop = ModernDesktop(Icons(20));
  for (int i = 0; i < 20; ++i) StoreIcon("Ic\xF4ne " + std::to_string(i), 500 + i, 600);
  After(desktop, LVM_GETITEMA, 5, [&] { winsim::SetListViewIcons(desktop.listView, Icons(5, 1000)); });
  EXPECT_EQ(CommandFailure(kRestoreLayout), static_cast<DWORD>(ERROR_RETRY));
  EXPECT_EQ(StoredNames().size(), 20u);
  EXPECT_EQ(winsim::CountCalls("OpenProcess"), 1u) << "the second pass does not run";
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HostileView, ShellEndingDuringTheMovesOfARestoreIsReported) {
  // One batch: no copy into the shell follows the moves that would notice.
  for (int moves : {1, 7, 19}) {
    SCOPED_TRACE(moves);
    SetUp();
    auto desktop = ModernDesktop(Icons(20));
    for (int i = 0; i < 20; ++i) StoreIcon("Ic\xF4ne " + std::to_string(i), 500 + i, 600);
    After(desktop, LVM_SETITEMPOSITION, moves, [&] { winsim::EndProcess(desktop.processId); });
    EXPECT_EQ(CommandFailure(kRestoreLayout), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(winsim::CountCalls("LVM_SETITEMPOSITION"), static_cast<std::size_t>(moves))
        << "the restore stops at the first move that finds the view gone";
    EXPECT_EQ(StoredNames().size(), 20u);
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(HostileView, ShellEndingOnceTheFirstPassHasMovedEveryIconIsNoFailure) {
  auto desktop = ModernDesktop(Icons(20));
  for (int i = 0; i < 20; ++i) StoreIcon("Ic\xF4ne " + std::to_string(i), 500 + i, 600);
  After(desktop, LVM_SETITEMPOSITION, 20, [&] { winsim::EndProcess(desktop.processId); });
  EXPECT_EQ(CommandFailure(kRestoreLayout), 0u);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HostileView, CaptionsFillingTheWholeBufferAreStoredAtItsLengthAndRestored) {
  auto icons = Icons(3);
  for (auto &icon : icons) icon.textFillsBuffer = true;
  auto desktop = ModernDesktop(icons);
  StoreIcon("Ancien", 5, 5);
  AppOptions.quiet = true;
  EXPECT_EQ(CommandFailure(kSaveLayout), 0u);
  auto names = StoredNames();
  ASSERT_EQ(names.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    std::string filled = icons[static_cast<std::size_t>(i)].caption;
    filled.resize(4096, winsim::kUnterminatedPadding);
    EXPECT_EQ(Stored(filled).x, i);
    EXPECT_EQ(Stored(filled).y, 2 * i);
  }

  auto moved = icons;
  for (auto &icon : moved) icon.x += 300;
  winsim::SetListViewIcons(desktop.listView, moved);
  EXPECT_EQ(CommandFailure(kRestoreLayout), 0u);
  EXPECT_EQ(Positions(desktop.listView), (Points{{0, 0}, {1, 2}, {2, 4}}));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HostileView, ItemsCountedButNotHeldAreLeftOut) {
  auto desktop = ModernDesktop(Icons(20));
  winsim::SetListViewCountExcess(desktop.listView, 50);
  StoreIcon("Ancien", 5, 5);
  AppOptions.quiet = true;
  EXPECT_EQ(CommandFailure(kSaveLayout), 0u);
  EXPECT_EQ(StoredNames().size(), 20u);
  EXPECT_EQ(winsim::CountCalls("LVM_GETITEMA"), 70u);

  auto moved = Icons(20, 300);
  winsim::SetListViewIcons(desktop.listView, moved);
  EXPECT_EQ(CommandFailure(kRestoreLayout), 0u);
  Points expected;
  for (int i = 0; i < 20; ++i) expected.push_back({i, 2 * i});
  EXPECT_EQ(Positions(desktop.listView), expected);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HostileView, ACountFarBeyondTheItemsEndsTheWalkAfterABatchWithNothingInIt) {
  // 70 icons: two batches hold them, the third holds nothing and ends the walk.
  auto desktop = ModernDesktop(Icons(70));
  winsim::SetListViewCountExcess(desktop.listView, INT_MAX - 70);
  AppOptions.quiet = true;
  EXPECT_EQ(CommandFailure(kSaveLayout), 0u);
  EXPECT_EQ(StoredNames().size(), 70u);
  EXPECT_EQ(winsim::CountCalls("LVM_GETITEMA"), 3u * 64);

  winsim::SetListViewIcons(desktop.listView, Icons(70, 300));
  EXPECT_EQ(CommandFailure(kRestoreLayout), 0u);
  EXPECT_EQ(winsim::CountCalls("LVM_GETITEMA"), 3u * 64 * 3) << "two passes of three batches each";
  EXPECT_EQ(Positions(desktop.listView)[69], (std::pair<int, int>{69, 138}));
  EXPECT_TRUE(winsim::ListViewPaintState(desktop.listView).redraw);
  EXPECT_TRUE(NothingHeld());
}

// The shared-area method on a Windows 9x system.
TEST_F(HostileView, SharedAreaWalksReportItemsGoingAwayAndAShellEndingDuringTheMoves) {
  {
    SCOPED_TRACE("save");
    auto desktop = LegacyDesktop(Icons(10));
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Ancien", 7);
    AppOptions.quiet = true;
    After(desktop, LVM_GETITEMA, 4, [&] { winsim::SetListViewIcons(desktop.listView, {}); });
    EXPECT_EQ(CommandFailure(kSaveLayout), static_cast<DWORD>(ERROR_RETRY));
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Ancien"});
    EXPECT_TRUE(NothingHeld());
  }
  {
    SCOPED_TRACE("restore");
    SetUp();
    auto desktop = LegacyDesktop(Icons(10));
    for (int i = 0; i < 10; ++i)
      winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Ic\xF4ne " + std::to_string(i), 0x00100010);
    After(desktop, LVM_SETITEMPOSITION32, 3, [&] { winsim::EndProcess(desktop.processId); });
    EXPECT_EQ(CommandFailure(kRestoreLayout), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(HostileView, SharedAreaCaptionsFillingTheWholeTextFieldKeepTheirFirst259Bytes) {
  auto icons = Icons(2);
  for (auto &icon : icons) icon.textFillsBuffer = true;
  LegacyDesktop(icons);
  AppOptions.quiet = true;
  EXPECT_EQ(CommandFailure(kSaveLayout), 0u);
  std::vector<std::string> expected;
  for (const auto &icon : icons) {
    expected.push_back(icon.caption);
    expected.back().resize(259, winsim::kUnterminatedPadding);
  }
  EXPECT_EQ(StoredNames(), expected);
}

}  // namespace
