// Wine told to report Windows 10: Deskplan.exe then looks for the desktop's
// folder view after its list-view passes, but only in the running shell's
// process. Under Wine no window is registered as the shell's (GetShellWindow
// answers null), so the list view's result must stand, without a failure and
// without waiting for Wine's window list.
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
    // No wait: Wine's first CoCreateInstance(CLSID_ShellWindows) of a session
    // alone takes 3.5 s on a quiet machine (10 s under load), against about
    // 0.05 s for the restore of these icons.
    EXPECT_LT(load.seconds, idle.seconds + 2.5) << "restore " << load.seconds << " s, idle run " << idle.seconds
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
