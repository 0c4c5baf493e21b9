// A restore moves a thousand icons without the view repainting after every
// move, and the view paints normally again once Deskplan has ended.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "deskplan_harness.h"

namespace e2e {
namespace {

struct Paints {
  long count = -1;
  int redraw = -1;
};

Paints AskPaints(TestShell& shell) {
  Paints paints;
  const std::string reply = shell.Ask("paints");
  if (std::sscanf(reply.c_str(), "paints %ld redraw %d", &paints.count, &paints.redraw) != 2) {
    ADD_FAILURE() << "unexpected reply: " << reply;
  }
  return paints;
}

// The count once the view has nothing left to paint: two equal readings a
// little apart (paints run when the shell's queue is empty).
Paints SettledPaints(TestShell& shell) {
  Paints last = AskPaints(shell);
  for (int i = 0; i < 50; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const Paints now = AskPaints(shell);
    if (now.count == last.count) return now;
    last = now;
  }
  ADD_FAILURE() << "the view never stopped painting";
  return last;
}

class DeskplanPaintTest : public DeskplanTest {};

TEST_F(DeskplanPaintTest, RestoringAThousandIconsPaintsTheViewAtMostThreeTimes) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_1000.txt"), error)) << error;
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(saved.size(), 1000u);
  const DeskplanRun save = RunDeskplan({"/AUTOSAVE"}, std::chrono::seconds(280));
  ASSERT_EQ(save.result.exitCode, 0);
  ScrambleIcons(shell);

  const Paints before = SettledPaints(shell);
  ASSERT_EQ(before.redraw, 1);
  const DeskplanRun load = RunDeskplan({"/AUTOLOAD"}, std::chrono::seconds(280));
  ASSERT_FALSE(load.result.timedOut);
  ASSERT_EQ(load.result.exitCode, 0);
  const Paints after = SettledPaints(shell);
  ExpectSamePositions(shell.Items(), saved);
  EXPECT_LE(after.count - before.count, 3) << "paints during the restore";
  EXPECT_GE(after.count - before.count, 1) << "the restored icons must be shown";
  EXPECT_EQ(after.redraw, 1) << "Deskplan left the view without redraw";

  // A move made afterwards shows as usual.
  ASSERT_TRUE(shell.Move(0, saved[0].x + 40, saved[0].y + 40));
  const Paints moved = SettledPaints(shell);
  EXPECT_GT(moved.count, after.count) << "the view no longer paints";
  EXPECT_FALSE(TakeScreenshot("deskplan_restored_1000").empty());
  char line[160];
  std::snprintf(line, sizeof line, "/AUTOLOAD (two passes), 1000 icons: %ld paints of the view, %.3f s wall",
                after.count - before.count, load.seconds);
  ReportTiming(line);
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
