#include <gtest/gtest.h>

#include <cstring>

#include "deskplan/view/shared_item_area.h"
#include "view_world.h"
#include "winsim/trace.h"
#include "winsim/ui.h"

namespace {

using winsim::ProcessKind;

class SharedArea : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshMachine();
    winsim::SetOsVersion(winsim::Windows98());
  }

  std::vector<ReadIcon> ReadAll(SharedItemArea &area, HWND view) {
    std::vector<ReadIcon> icons;
    for (int index = 0, count = ReadItemCount(view); index < count; ++index) {
      std::string caption;
      POINT at = {};
      if (area.ReadItem(view, index, caption, at)) icons.push_back({caption, at.x, at.y});
    }
    return icons;
  }
};

TEST_F(SharedArea, OnWindows9xReadsAndMovesThroughTheArea) {
  auto desktop = Desktop({{"Corbeille", 10, 20}, {"", 1, 1}, {std::string(300, 'z'), 70000, -5}}, ProcessKind::Native32);
  {
    SharedItemArea area;
    ASSERT_TRUE(area.IsMapped());
    EXPECT_EQ((std::vector<ReadIcon>{{"Corbeille", 10, 20}, {std::string(259, 'z'), 70000, -5}}),
              ReadAll(area, desktop.listView));
    area.SetItemPosition(desktop.listView, 0, 70000, -3);
  }
  EXPECT_EQ(70000, winsim::ListViewIcons(desktop.listView)[0].x);
  EXPECT_EQ(-3, winsim::ListViewIcons(desktop.listView)[0].y);
  EXPECT_EQ(1u, winsim::CountCalls("LVM_SETITEMPOSITION32"));
  EXPECT_EQ("Deskplan|309", winsim::CallsTo("CreateFileMappingA")[0].detail);
  EXPECT_EQ(std::to_string(FILE_MAP_ALL_ACCESS), winsim::CallsTo("MapViewOfFile")[0].detail);
  EXPECT_TRUE(NothingHeld());
}

TEST_F(SharedArea, AnUnansweredQueryDoesNotRepeatThePreviousItem) {
  winsim::DesktopIcon silent{"Muet", 7, 7};
  silent.itemQueryFails = true;
  silent.positionQueryFails = true;
  winsim::DesktopIcon lost{"Perdu", 7, 7};
  lost.positionQueryFails = true;
  auto desktop = Desktop({{"Corbeille", 10, 20}, silent, lost}, ProcessKind::Native32);
  SharedItemArea area;
  EXPECT_EQ((std::vector<ReadIcon>{{"Corbeille", 10, 20}, {"Perdu", -1, -1}}), ReadAll(area, desktop.listView));
}

TEST_F(SharedArea, TextAnotherProcessLeftUnterminatedIsBounded) {
  auto desktop = Desktop({{"Corbeille", 10, 20}}, ProcessKind::Native32);
  SharedItemArea area;
  // Another process that opened the area by name fills it after the view answered.
  winsim::SetListViewObserver(desktop.listView, [](UINT message, WPARAM, LPARAM) {
    if (message == LVM_GETITEMPOSITION) std::memset(winsim::NamedSharedArea("Deskplan"), 'q', 309);
  });
  std::string caption;
  POINT at = {};
  ASSERT_TRUE(area.ReadItem(desktop.listView, 0, caption, at));
  EXPECT_EQ(std::string(259, 'q'), caption);
}

TEST_F(SharedArea, OnNtTheShellCannotReachTheArea) {
  winsim::SetOsVersion(winsim::WindowsNT4());
  auto desktop = Desktop({{"Corbeille", 10, 20}, {"Documents", 30, 40}}, ProcessKind::Native32);
  SharedItemArea area;
  ASSERT_TRUE(area.IsMapped());
  EXPECT_TRUE(ReadAll(area, desktop.listView).empty());
  area.SetItemPosition(desktop.listView, 0, 500, 500);
  EXPECT_EQ(10, winsim::ListViewIcons(desktop.listView)[0].x);
  EXPECT_FALSE(winsim::StrayAccesses().empty());
}

TEST_F(SharedArea, AnAreaThatCannotBeMappedIsReportedUnlessQuiet) {
  winsim::FailNext("MapViewOfFile", ERROR_NOT_ENOUGH_MEMORY);
  {
    SharedItemArea area;
    EXPECT_FALSE(area.IsMapped());
  }
  ASSERT_EQ(1u, winsim::MessageBoxes().size());
  EXPECT_EQ("Espace de stockage insuffisant pour traiter cette commande", winsim::MessageBoxes()[0].text);
  EXPECT_EQ("Deskplan", winsim::MessageBoxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), winsim::MessageBoxes()[0].type);
  EXPECT_EQ(nullptr, winsim::MessageBoxes()[0].owner);
  EXPECT_TRUE(NothingHeld());

  AppOptions.quiet = true;
  winsim::FailNext("CreateFileMappingA", ERROR_ACCESS_DENIED);
  SharedItemArea area;
  EXPECT_FALSE(area.IsMapped());
  EXPECT_EQ(1u, winsim::MessageBoxes().size());
}

TEST_F(SharedArea, AFailedCreationShowsItsOwnError) {
  winsim::FailNext("CreateFileMappingA", ERROR_ACCESS_DENIED);
  SharedItemArea area;
  ASSERT_EQ(1u, winsim::MessageBoxes().size());
  EXPECT_EQ("Accès refusé", winsim::MessageBoxes()[0].text);
}

}  // namespace
