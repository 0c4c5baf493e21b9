#include <gtest/gtest.h>

#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"
#include "winsim/desktop.h"
#include "winsim/machine.h"
#include "winsim/windows.h"

namespace {

class Discovery : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    ResetProgramState();
    desktopHostClass = "WorkerW";
    shell = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  }

  HWND Add(const char *className, HWND parent = nullptr, const char *title = "") {
    winsim::ForeignWindow window;
    window.className = className;
    window.title = title;
    window.parent = parent;
    window.processId = shell;
    return winsim::AddForeignWindow(window);
  }

  DWORD shell = 0;
};

TEST_F(Discovery, FindsTheListViewUnderProgramManagerWithoutTheFallback) {
  HWND worker = Add("WorkerW");
  Add("SysListView32", Add("SHELLDLL_DefView", worker));
  HWND progman = Add("Progman", nullptr, "Program Manager");
  HWND inner = Add("SHELLDLL_DefView", Add("Static", progman));
  HWND list = Add("SysListView32", Add("Frame", inner));
  EXPECT_EQ(list, FindDesktopListView());
}

TEST_F(Discovery, ProgmanNeedsItsTitle) {
  Add("SysListView32", Add("SHELLDLL_DefView", Add("Progman", nullptr, "Autre")));
  EXPECT_EQ(nullptr, FindDesktopListView());
}

TEST_F(Discovery, FallsBackToTheFirstHostWithAShellViewChild) {
  Add("Progman", nullptr, "Program Manager");
  Add("WorkerW");
  HWND grandchildHost = Add("WorkerW");
  Add("SysListView32", Add("SHELLDLL_DefView", Add("Static", grandchildHost)));  // not a direct child
  HWND host = Add("WorkerW");
  HWND list = Add("SysListView32", Add("SHELLDLL_DefView", host));
  HWND later = Add("WorkerW");
  Add("SysListView32", Add("SHELLDLL_DefView", later));
  EXPECT_EQ(list, FindDesktopListView());
}

TEST_F(Discovery, BuiltDesktopsAreFoundUnderEitherHost) {
  for (auto host : {winsim::DesktopHost::Progman, winsim::DesktopHost::WorkerW}) {
    winsim::Reset();
    winsim::ShellDesktopSetup setup;
    setup.host = host;
    HWND listView = winsim::BuildShellDesktop(setup).listView;
    EXPECT_EQ(listView, FindDesktopListView());
  }
}

TEST_F(Discovery, HostsWithoutAShellViewGiveNothing) {
  Add("WorkerW");
  Add("SysListView32", Add("WorkerW"));
  EXPECT_EQ(nullptr, FindDesktopListView());
}

TEST_F(Discovery, AShellViewWithoutAListViewGivesNothing) {
  Add("Static", Add("SHELLDLL_DefView", Add("Progman", nullptr, "Program Manager")));
  EXPECT_EQ(nullptr, FindDesktopListView());
  winsim::Reset();
  Add("SHELLDLL_DefView", Add("WorkerW"));
  EXPECT_EQ(nullptr, FindDesktopListView());
}

TEST_F(Discovery, ClassNamesMatchOnlyInTheirExactCase) {
  HWND progman = Add("Progman", nullptr, "Program Manager");
  Add("SysListView32", Add("shelldll_defview", progman));
  EXPECT_EQ(nullptr, FindDesktopListView());

  winsim::Reset();
  Add("SYSLISTVIEW32", Add("SHELLDLL_DefView", Add("Progman", nullptr, "Program Manager")));
  EXPECT_EQ(nullptr, FindDesktopListView());

  winsim::Reset();
  Add("SysListView32", Add("SHELLDLL_DefView", Add("workerw")));
  EXPECT_EQ(nullptr, FindDesktopListView());
}

TEST_F(Discovery, WithoutProgmanATopLevelShellViewIsTakenAsIs) {
  // The search then enumerates top-level windows for the shell view itself.
  HWND view = Add("SHELLDLL_DefView");
  HWND list = Add("SysListView32", view);
  EXPECT_EQ(list, FindDesktopListView());
}

}  // namespace
