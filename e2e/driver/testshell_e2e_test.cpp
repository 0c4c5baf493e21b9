// The test desktop under Wine: its window tree hosts a real comctl32 list view
// that holds the fixture's French captions, byte for byte, at the fixture's
// positions, whichever host carries it.
#include <gtest/gtest.h>

#include <thread>

#include "fixture_file.h"
#include "screenshot.h"
#include "testshell_client.h"
#include "wine_session.h"

namespace e2e {
namespace {

const unsigned long kAutoArrange = 0x0100;  // LVS_AUTOARRANGE
const unsigned long kEditLabels = 0x0200;   // LVS_EDITLABELS
const unsigned long kViewMask = 0x0003;     // LVS_TYPEMASK; LVS_ICON is 0

void ExpectMatchesFixture(const std::vector<ShellItem>& items, const std::vector<FixtureIcon>& icons) {
  ASSERT_EQ(items.size(), icons.size());
  for (std::size_t i = 0; i < icons.size(); ++i) {
    EXPECT_EQ(items[i].index, static_cast<int>(i));
    EXPECT_EQ(items[i].caption, icons[i].caption) << "item " << i;
    EXPECT_EQ(items[i].x, icons[i].x) << "item " << i;
    EXPECT_EQ(items[i].y, icons[i].y) << "item " << i;
  }
}

struct HostCase {
  const char* name;
  bool workerHost;
  int decoys;
  bool emptyProgman;
};

void PrintTo(const HostCase& host, std::ostream* out) { *out << host.name; }

class TestShellHostTest : public WineTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(TestShellHostTest, ReportsTheFixtureCaptionsAndPositions) {
  const std::vector<FixtureIcon> icons = LoadFixture("desktop_fr.txt");
  ASSERT_EQ(icons.size(), 20u);
  TestShell shell;
  ShellStart start;
  start.fixture = "desktop_fr.txt";
  start.workerHost = GetParam().workerHost;
  start.decoyWorkers = GetParam().decoys;
  start.emptyProgman = GetParam().emptyProgman;
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;

  EXPECT_EQ(shell.Count(), 20);
  ExpectMatchesFixture(shell.Items(), icons);
  const unsigned long style = shell.Style();
  EXPECT_EQ(style & kViewMask, 0u) << "icon mode";
  EXPECT_EQ(style & (kAutoArrange | kEditLabels), 0u);
  EXPECT_NE(TakeScreenshot(std::string("testshell_") + GetParam().name), "");

  // The one re-arrangement of a fresh icon view is over by "ready".
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  ExpectMatchesFixture(shell.Items(), icons);
  EXPECT_EQ(shell.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Hosts, TestShellHostTest,
                         ::testing::Values(HostCase{"progman", false, 0, false},
                                           HostCase{"workerw", true, 0, false},
                                           HostCase{"workerw_after_decoys", true, 3, true}),
                         [](const ::testing::TestParamInfo<HostCase>& info) { return info.param.name; });

class TestShellTest : public WineTest {};

TEST_F(TestShellTest, MovesItemsOnRequest) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  ASSERT_TRUE(shell.Move(3, 640, 480));
  ASSERT_TRUE(shell.Move(19, -40, 2000));
  ShellItem item;
  ASSERT_TRUE(shell.Item(3, item));
  EXPECT_EQ(item.caption, "Favoris r\xE9seau");
  EXPECT_EQ(item.x, 640);
  EXPECT_EQ(item.y, 480);
  ASSERT_TRUE(shell.Item(19, item));
  EXPECT_EQ(item.x, -40);
  EXPECT_EQ(item.y, 2000);
  EXPECT_FALSE(shell.Move(20, 1, 1));
  EXPECT_FALSE(shell.Item(-1, item));
  EXPECT_EQ(shell.Ask("frobnicate"), "error unknown-command");
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(TestShellTest, SetsTheRequestedStyleBits) {
  TestShell shell;
  ShellStart start;
  start.fixture = "desktop_fr.txt";
  start.autoArrange = true;
  start.editLabels = true;
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  EXPECT_EQ(shell.Style() & (kAutoArrange | kEditLabels), kAutoArrange | kEditLabels);
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(TestShellTest, HoldsAThousandIcons) {
  const std::vector<FixtureIcon> icons = LoadFixture("desktop_1000.txt");
  ASSERT_EQ(icons.size(), 1000u);
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_1000.txt"), error)) << error;
  EXPECT_EQ(shell.Count(), 1000);
  ExpectMatchesFixture(shell.Items(), icons);
  EXPECT_EQ(shell.Quit(), 0);
}

// The desktop of a log-on: the channel answers before the desktop exists,
// then the icons come in batches, each at its fixture position.
TEST_F(TestShellTest, LateDesktopAnswersBeforeItExistsThenFillsInBatches) {
  const std::vector<FixtureIcon> icons = LoadFixture("desktop_fr.txt");
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.extraOptions = {"--late-desktop-ms", "1500", "--batch-size", "6", "--batch-ms", "300"};
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  EXPECT_EQ(shell.Ask("desktop"), "desktop absent");
  EXPECT_EQ(shell.Ask("count"), "error no-desktop");
  EXPECT_EQ(shell.Ask("windows"), "error no-desktop");
  EXPECT_TRUE(shell.Items().empty());

  std::vector<int> counts;  // the counts seen while it filled
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::string status;
  while ((status = shell.Ask("desktop")).compare(0, 17, "desktop complete ") != 0 &&
         std::chrono::steady_clock::now() < deadline) {
    if (status.compare(0, 16, "desktop filling ") == 0) {
      const int count = shell.Count();
      if (counts.empty() || counts.back() != count) counts.push_back(count);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(status, "desktop complete 20");
  ASSERT_FALSE(counts.empty()) << "never seen filling";
  EXPECT_EQ(counts.front(), 6) << "the first batch";
  EXPECT_GE(counts.size(), 2u) << "no batch seen after the first";
  ExpectMatchesFixture(shell.Items(), icons);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  ExpectMatchesFixture(shell.Items(), icons);
  EXPECT_EQ(shell.Quit(), 0);
}

// A shell that starts again: new windows, the icons in its own arrangement.
TEST_F(TestShellTest, RestartMakesNewWindowsWithTheFixturePositions) {
  const std::vector<FixtureIcon> icons = LoadFixture("desktop_fr.txt");
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  const std::string windows = shell.Ask("windows");
  ASSERT_TRUE(shell.Move(0, 700, 500));
  EXPECT_EQ(shell.Ask("restart 800"), "ok");
  EXPECT_EQ(shell.Ask("desktop"), "desktop absent");
  EXPECT_EQ(shell.Ask("count"), "error no-desktop");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (shell.Ask("desktop") != "desktop complete 20" && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_EQ(shell.Ask("desktop"), "desktop complete 20");
  EXPECT_NE(shell.Ask("windows"), windows);
  ExpectMatchesFixture(shell.Items(), icons);
  EXPECT_EQ(shell.Quit(), 0);
}

// After a display change the shell lays its icons out on its own grid; a
// second change during that starts it again, so one re-layout is done.
TEST_F(TestShellTest, DisplayChangeStartsTheShellsOwnRelayout) {
  const std::vector<FixtureIcon> icons = LoadFixture("desktop_fr.txt");
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.extraOptions = {"--relayout-ms", "400", "--relayout-steps", "3", "--relayout-step-ms", "200"};
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  EXPECT_EQ(shell.Ask("relayout"), "relayout done 0");
  EXPECT_EQ(shell.Ask("displaychange 1280 1024"), "error no-tray");
  EXPECT_EQ(shell.Ask("relayout"), "relayout pending");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(shell.Ask("displaychange 1280 1024"), "error no-tray");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (shell.Ask("relayout") == "relayout pending" && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(shell.Ask("relayout"), "relayout done 1");
  const std::vector<ShellItem> items = shell.Items();
  ASSERT_EQ(items.size(), icons.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_TRUE(items[i].x != icons[i].x || items[i].y != icons[i].y) << "item " << i << " kept its place";
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_TRUE(items[i].x != items[j].x || items[i].y != items[j].y) << "items " << j << " and " << i;
  }

  TestShell plain;
  ASSERT_TRUE(plain.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  EXPECT_EQ(plain.Ask("relayout"), "relayout off");
  EXPECT_EQ(plain.Quit(), 0);
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(TestShellTest, RefusesAMissingFixture) {
  TestShell shell;
  std::string error;
  EXPECT_FALSE(shell.Start(ShellStart::WithFixture("no_such_fixture.txt"), error));
  EXPECT_NE(error.find("cannot read fixture"), std::string::npos) << error;
}

TEST_F(TestShellTest, EndsWhenItsInputCloses) {
  ChildProcess process(WineCommand(ShellProgramPath("testshell.exe"),
                                   {"--fixture", WindowsPath(FixturePath("desktop_fr.txt"))}));
  std::string line;
  ASSERT_TRUE(process.ReadLine(line, std::chrono::seconds(60)));
  EXPECT_EQ(line, "ready");
  process.CloseInput();
  EXPECT_EQ(process.Wait(std::chrono::seconds(30)), 0);
}

}  // namespace
}  // namespace e2e
