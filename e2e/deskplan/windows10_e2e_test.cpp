// Wine told to report Windows 10: Deskplan.exe then also tries the desktop's
// folder view after its list-view passes. Wine's folder view is its own
// desktop's, not the test shell's: no icon matches there, so the list view's
// result must stand, without a failure and without a hang.
#include <gtest/gtest.h>

#include "deskplan_harness.h"

namespace e2e {
namespace {

class DeskplanWindows10Test : public DeskplanTest {};

TEST_F(DeskplanWindows10Test, RestorePutsEveryIconBackThroughTheListView) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_duplicates.txt"), error)) << error;
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_FALSE(saved.empty());
  {
    WineVersionFor win10("Deskplan.exe", "win10");
    ASSERT_TRUE(win10.Applied());
    // A restore with nothing stored: Wine's start and the view search alone.
    const DeskplanRun idle = RunDeskplan({"/AUTOLOAD"});
    ASSERT_EQ(idle.result.exitCode, 0);
    const DeskplanRun save = RunDeskplan({"/AUTOSAVE"});
    ASSERT_EQ(save.result.exitCode, 0);
    EXPECT_EQ(ReadKey(LayoutKey(SessionLayoutName(shell))).values.size(), saved.size());

    ScrambleIcons(shell);
    const DeskplanRun load = RunDeskplan({"/AUTOLOAD"}, std::chrono::seconds(60));
    ASSERT_FALSE(load.result.timedOut);
    EXPECT_EQ(load.result.exitCode, 0);
    ExpectSamePositions(shell.Items(), saved);
    // The folder view's attempt must not hang the restore. Wine's first
    // CoCreateInstance(CLSID_ShellWindows) of a session alone takes seconds
    // (3.5 s measured on a quiet machine, 10 s under load).
    EXPECT_LT(load.seconds, idle.seconds + 20.0) << "restore " << load.seconds << " s, idle run " << idle.seconds
                                                << " s";
    ReportTiming("win10 /AUTOLOAD, " + std::to_string(saved.size()) + " icons: " + std::to_string(load.seconds) +
                 " s wall (idle run " + std::to_string(idle.seconds) + " s)");
    std::string box;
    EXPECT_FALSE(WaitForBox(shell, box, std::chrono::milliseconds(500))) << box;
  }
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
