// Deskplan's view code against a real comctl32 list view under Wine: the
// win64 view driver finds the test shell's desktop list view, reads every
// caption and position through a buffer inside the shell's process, and moves
// icons there.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "fixture_file.h"
#include "testshell_client.h"
#include "wine_session.h"

namespace e2e {
namespace {

struct DriverRun {
  int exitCode = -1;
  std::vector<ShellItem> items;
  int ended = -1;                // the count on the "end" line
  long long microseconds = -1;   // from the "timing" line
  int timedIcons = 0;
  std::string output;
};

DriverRun RunDriver(const std::vector<std::string> &args) {
  ProgramResult result = RunWin64(Win64Program("viewdriver.exe"), args, std::chrono::seconds(120));
  DriverRun run;
  run.exitCode = result.exitCode;
  run.output = result.output;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ShellItem item;
    char kind[16] = {};
    if (line.compare(0, 5, "item ") == 0 && ParseItemLine(line, item)) {
      run.items.push_back(item);
    } else if (std::sscanf(line.c_str(), "end %d", &run.ended) == 1) {
    } else if (std::sscanf(line.c_str(), "timing %15s %lld %d", kind, &run.microseconds, &run.timedIcons) == 3) {
    }
  }
  return run;
}

void ExpectSameIcons(const std::vector<ShellItem> &read, const std::vector<ShellItem> &shown) {
  ASSERT_EQ(read.size(), shown.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].index, shown[i].index);
    EXPECT_EQ(read[i].caption, shown[i].caption) << "item " << i;
    EXPECT_EQ(read[i].x, shown[i].x) << "item " << i;
    EXPECT_EQ(read[i].y, shown[i].y) << "item " << i;
  }
}

void ReportTiming(const std::string &what, const DriverRun &run) {
  ASSERT_GT(run.timedIcons, 0);
  double perIcon = static_cast<double>(run.microseconds) / run.timedIcons;
  std::printf("[ TIMING   ] %s: %d icons in %lld us, %.1f us per icon\n", what.c_str(), run.timedIcons,
              run.microseconds, perIcon);
  std::ofstream(ArtifactsDir() + "/view_timing.txt", std::ios::app)
      << what << ": " << run.timedIcons << " icons, " << run.microseconds << " us, " << perIcon << " us/icon\n";
  ::testing::Test::RecordProperty(what, std::to_string(perIcon));
}

struct HostCase {
  const char *name;
  bool workerHost;
  int decoys;
  bool emptyProgman;
};

void PrintTo(const HostCase &host, std::ostream *out) { *out << host.name; }

class ViewDriverHostTest : public WineTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(ViewDriverHostTest, ReadsEveryFrenchCaptionAndPositionAndMovesAnIcon) {
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.workerHost = GetParam().workerHost;
  start.decoyWorkers = GetParam().decoys;
  start.emptyProgman = GetParam().emptyProgman;
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;

  DriverRun read = RunDriver({"read"});
  ASSERT_EQ(read.exitCode, 0) << read.output;
  EXPECT_EQ(read.ended, 20);
  ExpectSameIcons(read.items, shell.Items());
  auto icons = LoadFixture("desktop_fr.txt");
  ASSERT_EQ(read.items.size(), icons.size());
  for (std::size_t i = 0; i < icons.size(); ++i) EXPECT_EQ(read.items[i].caption, icons[i].caption);

  DriverRun move = RunDriver({"move", "4", "612", "347"});
  ASSERT_EQ(move.exitCode, 0) << move.output;
  ShellItem moved;
  ASSERT_TRUE(shell.Item(4, moved));
  EXPECT_EQ(moved.x, 612);
  EXPECT_EQ(moved.y, 347);
  ExpectSameIcons(RunDriver({"read"}).items, shell.Items());
  EXPECT_EQ(shell.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Hosts, ViewDriverHostTest,
                         ::testing::Values(HostCase{"progman", false, 0, false},
                                           HostCase{"workerw_after_decoys", true, 3, true}),
                         [](const ::testing::TestParamInfo<HostCase> &info) { return info.param.name; });

class ViewDriverTest : public WineTest {};

TEST_F(ViewDriverTest, ReadsAndMovesAThousandIcons) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_1000.txt"), error)) << error;

  DriverRun read = RunDriver({"read"});
  ASSERT_EQ(read.exitCode, 0) << read.output;
  ASSERT_EQ(read.ended, 1000);
  std::vector<ShellItem> before = shell.Items();
  ExpectSameIcons(read.items, before);
  ReportTiming("read pass", read);

  DriverRun shift = RunDriver({"shift", "7", "-3"});
  ASSERT_EQ(shift.exitCode, 0) << shift.output;
  ReportTiming("move", shift);
  std::vector<ShellItem> after = shell.Items();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].x, before[i].x + 7) << "item " << i;
    EXPECT_EQ(after[i].y, before[i].y - 3) << "item " << i;
  }
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(ViewDriverTest, FindsNoListViewWithoutAShell) {
  EXPECT_EQ(RunDriver({"read"}).exitCode, 2);
}

}  // namespace
}  // namespace e2e
