// Save and restore times of Deskplan.exe under Wine for large desktops; every
// icon must still come back. The times land in deskplan_timing.txt among the
// test artifacts.
#include <gtest/gtest.h>

#include <cstdio>

#include "deskplan_harness.h"

namespace e2e {
namespace {

std::string Timing(const std::string& what, std::size_t icons, double seconds) {
  char line[200];
  std::snprintf(line, sizeof line, "%s, %zu icons: %.3f s wall, %.2f ms per icon", what.c_str(), icons, seconds,
                seconds * 1000.0 / static_cast<double>(icons));
  return line;
}

class DeskplanTimingTest : public DeskplanTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DeskplanTimingTest, SavesAndRestoresEveryIcon) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture(GetParam()), error)) << error;
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_GE(saved.size(), 100u);

  // Wine's start and the view search alone: a restore with nothing stored.
  const DeskplanRun idle = RunDeskplan({"/AUTOLOAD"});
  ASSERT_EQ(idle.result.exitCode, 0);
  const DeskplanRun save = RunDeskplan({"/AUTOSAVE"}, std::chrono::seconds(280));
  ASSERT_FALSE(save.result.timedOut);
  ASSERT_EQ(save.result.exitCode, 0);
  EXPECT_EQ(ReadKey(LayoutKey(SessionLayoutName(shell))).values.size(), saved.size());

  ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/AUTOLOAD"}, std::chrono::seconds(280));
  ASSERT_FALSE(load.result.timedOut);
  ASSERT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), saved);

  char idleLine[120];
  std::snprintf(idleLine, sizeof idleLine, "/AUTOLOAD with nothing stored (%zu icons on the desktop): %.3f s wall",
                saved.size(), idle.seconds);
  ReportTiming(idleLine);
  ReportTiming(Timing("/AUTOSAVE", saved.size(), save.seconds));
  ReportTiming(Timing("/AUTOLOAD (two passes)", saved.size(), load.seconds));
  EXPECT_EQ(shell.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, DeskplanTimingTest, ::testing::Values("desktop_100.txt", "desktop_1000.txt"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return info.index == 0 ? std::string("icons_100") : std::string("icons_1000");
                         });

}  // namespace
}  // namespace e2e
