// Restores on shells that keep their own record of the icons' positions
// (Windows 10 version 1809 and later): the icons must still be where the
// layout says after the shell redraws the desktop from its record.
#include <gtest/gtest.h>

#include <string>

#include <objbase.h>

#include "deskplan/layout/layout_command.h"
#include "layout_world.h"
#include "winsim/folder_view.h"
#include "winsim/windows.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

winsim::OsVersion Windows10Build(DWORD build) {
  winsim::OsVersion os = winsim::Windows10();
  os.build = build;
  return os;
}

class FolderViewRestore : public LayoutWorld {
 protected:
  winsim::ShellDesktop Desktop(std::vector<winsim::DesktopIcon> icons, const winsim::OsVersion &os = Windows10Build(17763),
                               bool keepsRecord = true) {
    winsim::SetOsVersion(os);
    auto desktop = ModernDesktop(std::move(icons));
    winsim::FolderViewSetup setup;
    setup.keepsPositionRecord = keepsRecord;
    winsim::AddDesktopFolderView(desktop.listView, setup);
    return desktop;
  }

  static Points Record() {
    Points points;
    for (POINT p : winsim::ShellPositionRecord()) points.push_back({p.x, p.y});
    return points;
  }

  static bool ComBalanced() {
    return winsim::LiveComReferences() == 0 && winsim::LiveTaskMemoryBlocks() == 0 &&
           winsim::BadTaskMemoryFrees() == 0 && winsim::ComApartmentDepth() == 0;
  }
};

// What the model stands for, before the program is involved.
TEST_F(FolderViewRestore, ShellRecordIgnoresListViewMovesAndComesBackOnRefresh) {
  auto desktop = Desktop({{"A", 1, 1}, {"B", 2, 2}});
  SendMessageA(desktop.listView, LVM_SETITEMPOSITION, 1, MAKELPARAM(50, 60));
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {50, 60}}));
  EXPECT_EQ(Record(), (Points{{1, 1}, {2, 2}}));
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {2, 2}}));
}

TEST_F(FolderViewRestore, OlderShellsKeepTheListViewsPlacesOnRefresh) {
  auto desktop = Desktop({{"A", 1, 1}}, Windows10Build(17134), false);
  StoreIcon("A", 30, 40);
  RunLayoutCommand(kRestoreLayout);
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), (Points{{30, 40}}));
  EXPECT_EQ(winsim::CountCalls("CoInitialize"), 0u);
}

TEST_F(FolderViewRestore, RestoredIconsOutlastARefresh) {
  auto desktop = Desktop({{"Corbeille", 0, 0}, {"Inconnu", 9, 9}, {"Caf\xE9", 0, 0}, {"Ce PC", 7, 7}});
  StoreIcon("Corbeille", 100, 200);
  StoreIcon("CAF\xC9", -5, 40);  // names match without regard to case
  StoreIcon("Ce PC", 300, 20);
  RunLayoutCommand(kRestoreLayout);
  const Points expected{{100, 200}, {9, 9}, {-5, 40}, {300, 20}};
  EXPECT_EQ(Positions(desktop.listView), expected);
  EXPECT_EQ(Record(), expected);
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), expected);
  // Only the icons the restore moved, all in one call, inside one apartment.
  auto placements = winsim::CallsTo("IFolderView::SelectAndPositionItems");
  ASSERT_EQ(placements.size(), 1u);
  EXPECT_EQ(placements[0].detail, "3");
  EXPECT_EQ(winsim::CallSequence({"CoInitialize", "IFolderView::SelectAndPositionItems", "CoUninitialize"}),
            (std::vector<std::string>{"CoInitialize", "IFolderView::SelectAndPositionItems", "CoUninitialize"}));
  EXPECT_TRUE(ComBalanced());
  EXPECT_TRUE(NothingHeld());
}

TEST_F(FolderViewRestore, WindowsElevenToo) {
  auto desktop = Desktop({{"A", 0, 0}}, Windows10Build(22631));
  StoreIcon("A", 64, 32);
  RunLayoutCommand(kRestoreLayout);
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), (Points{{64, 32}}));
}

TEST_F(FolderViewRestore, EarlierSystemsMakeNoFolderViewCall) {
  for (auto os : {winsim::Windows7(), Windows10Build(17134)}) {
    winsim::Reset();
    auto desktop = Desktop({{"A", 0, 0}}, os);
    StoreIcon("A", 64, 32);
    RunLayoutCommand(kRestoreLayout);
    EXPECT_EQ(Positions(desktop.listView), (Points{{64, 32}}));
    EXPECT_EQ(Record(), (Points{{0, 0}}));
    EXPECT_EQ(winsim::CountCalls("CoInitialize"), 0u) << os.build;
    EXPECT_EQ(winsim::CountCalls("CoCreateInstance"), 0u) << os.build;
  }
}

TEST_F(FolderViewRestore, NothingRestoredMeansNoFolderViewCall) {
  auto desktop = Desktop({{"A", 5, 5}});
  RunLayoutCommand(kRestoreLayout);  // no layout
  StoreIcon("Autre", 1, 1);
  RunLayoutCommand(kRestoreLayout);  // a layout without this desktop's icons
  EXPECT_EQ(winsim::CountCalls("CoInitialize"), 0u);
  EXPECT_EQ(Positions(desktop.listView), (Points{{5, 5}}));
}

// A desktop that is not the running shell's (no shell registered, or another
// process's shell window): its folder view would show another desktop, and
// asking for it could start a window list on demand and wait for it.
TEST_F(FolderViewRestore, ViewOutsideTheShellsProcessMakesNoFolderViewCall) {
  auto desktop = Desktop({{"A", 0, 0}});
  StoreIcon("A", 64, 32);
  winsim::RegisterShellWindow(nullptr);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{64, 32}}));

  winsim::ForeignWindow other;
  other.className = "Progman";
  other.title = "Program Manager";
  other.processId = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::RegisterShellWindow(winsim::AddForeignWindow(other));
  winsim::SetListViewIcons(desktop.listView, {{"A", 0, 0}});
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{64, 32}}));
  EXPECT_EQ(winsim::CountCalls("CoInitialize"), 0u);
  EXPECT_EQ(winsim::CountCalls("CoCreateInstance"), 0u);
  EXPECT_EQ(Record(), (Points{{0, 0}}));

  // The shell that owns the view registers its window again: the record follows.
  winsim::RegisterShellWindow(desktop.progman);
  winsim::SetListViewIcons(desktop.listView, {{"A", 0, 0}});
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Record(), (Points{{64, 32}}));
  EXPECT_TRUE(ComBalanced());
}

TEST_F(FolderViewRestore, EqualCaptionsGoToTheSameIconsAsThroughTheListView) {
  auto desktop = Desktop({{"T", 0, 0}, {"U", 1, 1}, {"t", 0, 0}, {"T", 0, 0}});
  StoreIcon("T", 10, 10);
  StoreIcon("t" + kSeparator + "(1)", 20, 20);
  StoreIcon("T" + kSeparator + "(1)" + kSeparator + "(2)", 30, 30);
  RunLayoutCommand(kRestoreLayout);
  const Points expected{{10, 10}, {1, 1}, {20, 20}, {30, 30}};
  EXPECT_EQ(Positions(desktop.listView), expected);
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), expected);
}

TEST_F(FolderViewRestore, NamesTakenWithoutAMoveStillShiftTheSuffixes) {
  // The first T's value records a failed query: it keeps its place but its
  // name is taken, so the second T is matched to "T (1)" in both paths.
  auto desktop = Desktop({{"T", 1, 1}, {"T", 2, 2}});
  StoreIcon("T", -1, -1);
  StoreIcon("T" + kSeparator + "(1)", 20, 20);
  RunLayoutCommand(kRestoreLayout);
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {20, 20}}));
  EXPECT_EQ(winsim::CallsTo("IFolderView::SelectAndPositionItems").at(0).detail, "1");
}

TEST_F(FolderViewRestore, UnfoundFirstNameIsNotTakenInEitherPath) {
  auto desktop = Desktop({{"T", 1, 1}, {"T", 2, 2}});
  StoreIcon("T" + kSeparator + "(1)", 20, 20);
  RunLayoutCommand(kRestoreLayout);
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), (Points{{1, 1}, {2, 2}}));
  EXPECT_EQ(winsim::CountCalls("IFolderView::SelectAndPositionItems"), 0u);
}

TEST_F(FolderViewRestore, FullCoordinatesReachTheShellsRecord) {
  // The list view keeps 16 bits of each coordinate; the folder view takes the
  // stored value whole.
  auto desktop = Desktop({{"Far", 0, 0}});
  StoreIcon("Far", 70000, -3);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Record(), (Points{{70000, -3}}));
  winsim::RefreshDesktop();
  EXPECT_EQ(Positions(desktop.listView), (Points{{70000, -3}}));
}

// Each step of the way to the folder view can fail: the restore's own result
// stands, and every reference, item identifier and the apartment are given back.
class FolderViewStepFailure : public FolderViewRestore, public ::testing::WithParamInterface<const char *> {};

TEST_P(FolderViewStepFailure, LeavesTheRestoreAndNothingHeld) {
  auto desktop = Desktop({{"A", 0, 0}, {"B", 0, 0}, {"C", 3, 3}});
  StoreIcon("A", 10, 20);
  StoreIcon("B", 30, 40);
  winsim::FailAlways(GetParam(), static_cast<unsigned>(E_FAIL));
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(Positions(desktop.listView), (Points{{10, 20}, {30, 40}, {3, 3}}));
  EXPECT_EQ(Record(), (Points{{0, 0}, {0, 0}, {3, 3}}));
  EXPECT_EQ(winsim::CountCalls(GetParam()), 1u);
  EXPECT_TRUE(ComBalanced());
  EXPECT_TRUE(NothingHeld());
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, FolderViewStepFailure,
    ::testing::Values("CoInitialize", "CoCreateInstance", "IShellWindows::FindWindowSW",
                      "QueryInterface(IServiceProvider)", "IServiceProvider::QueryService",
                      "IShellBrowser::QueryActiveShellView", "QueryInterface(IFolderView)", "IFolderView::GetFolder",
                      "IFolderView::Items", "IEnumIDList::Next", "IShellFolder::GetDisplayNameOf",
                      "IFolderView::SelectAndPositionItems"),
    [](const ::testing::TestParamInfo<const char *> &info) {
      std::string name;
      for (const char *c = info.param; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      return name;
    });

TEST_F(FolderViewRestore, LateFailuresInTheItemWalkFreeWhatWasHandedOut) {
  for (const char *step : {"IEnumIDList::Next", "IShellFolder::GetDisplayNameOf"}) {
    winsim::Reset();
    auto desktop = Desktop({{"A", 0, 0}, {"B", 0, 0}, {"C", 0, 0}});
    StoreIcon("A", 10, 20);
    winsim::FailNext(step, static_cast<unsigned>(E_FAIL), 2);
    RunLayoutCommand(kRestoreLayout);
    EXPECT_EQ(Positions(desktop.listView), (Points{{10, 20}, {0, 0}, {0, 0}})) << step;
    EXPECT_EQ(winsim::CountCalls("IFolderView::SelectAndPositionItems"), 0u) << step;
    EXPECT_TRUE(ComBalanced()) << step;
  }
}

TEST_F(FolderViewRestore, NoDesktopWindowOrNoShellClassLeavesTheRestore) {
  auto desktop = ModernDesktop({{"A", 0, 0}});
  winsim::SetOsVersion(Windows10Build(19045));
  StoreIcon("A", 10, 20);
  RunLayoutCommand(kRestoreLayout);  // no shell window list registered
  EXPECT_EQ(Positions(desktop.listView), (Points{{10, 20}}));
  EXPECT_EQ(winsim::CountCalls("CoCreateInstance"), 1u);
  EXPECT_TRUE(ComBalanced());

  winsim::FolderViewSetup setup;
  setup.desktopFound = false;  // FindWindowSW answers S_FALSE without a window
  winsim::AddDesktopFolderView(desktop.listView, setup);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::CountCalls("IShellWindows::FindWindowSW"), 1u);
  EXPECT_EQ(winsim::CountCalls("IServiceProvider::QueryService"), 0u);
  EXPECT_TRUE(ComBalanced());
}

TEST_F(FolderViewRestore, ApartmentAlreadyEnteredIsLeftAsFound) {
  Desktop({{"A", 0, 0}});
  StoreIcon("A", 10, 20);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  RunLayoutCommand(kRestoreLayout);
  EXPECT_EQ(winsim::ComApartmentDepth(), 1);
  EXPECT_EQ(Record(), (Points{{10, 20}}));
  CoUninitialize();
  EXPECT_TRUE(ComBalanced());
}

}  // namespace
