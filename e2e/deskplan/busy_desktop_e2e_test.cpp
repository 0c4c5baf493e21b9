// Deskplan against a shell that is busy with its own icons: it lays them out
// again after a display change, its desktop appears seconds after the tray at
// log-on and fills in batches, it starts again. A restore must land once the
// shell is done and stay there, no box may show on the way, and the wait must
// cost next to nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "deskplan_harness.h"
#include "tray_desktop.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;


// The shell's own re-layout: 1 s after a display change, four steps 500 ms
// apart, so the view is never quiet for 1.5 s before its last step.
const std::vector<std::string> kRelayout = {"--relayout-ms", "1000", "--relayout-steps", "4", "--relayout-step-ms",
                                            "500"};
// The desktop of a log-on: 4 s without any, then five icons every 500 ms.
const std::vector<std::string> kLateDesktop = {"--late-desktop-ms", "4000", "--batch-size", "5", "--batch-ms",
                                               "500"};

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The position queries other processes sent the shell's list view so far.
long PositionQueries(TestShell& shell) {
  const std::string reply = shell.Ask("hostile");
  const std::size_t at = reply.find(" position ");
  return at == std::string::npos ? -1 : std::atol(reply.c_str() + at + 10);
}

class BusyDesktopTest : public DeskplanTest {
 protected:
  // Stores a layout unlike the shell's own arrangement (the fixture's): the
  // icons scrambled, then /AUTOSAVE. Answers the stored places.
  std::vector<ShellItem> StoreScrambledLayout(TestShell& shell) {
    const std::vector<ShellItem> scrambled = ScrambleIcons(shell);
    const DeskplanRun save = RunDeskplan({"/AUTOSAVE"});
    EXPECT_EQ(save.result.exitCode, 0);
    EXPECT_EQ(ReadKey(LayoutKey(SessionLayoutName(shell))).values.size(), scrambled.size());
    return scrambled;
  }

  // A layout stored from a desktop of its own, which then ends.
  std::vector<ShellItem> StoreScrambledLayout() {
    TestShell shell;
    StartShell(shell, "desktop_fr.txt");
    std::vector<ShellItem> stored = StoreScrambledLayout(shell);
    EXPECT_EQ(shell.Quit(), 0);
    return stored;
  }

  void SetOption(const std::string& name, int value) {
    ASSERT_TRUE(AddRegValue(kOptionsKey, name, "REG_DWORD", std::to_string(value)));
  }

  void StartTray(TestShell& shell) {
    tray_ = StartDeskplan({});
    ASSERT_TRUE(WaitForTray(shell, std::chrono::seconds(60)))
        << "no tray window; exit code " << tray_->Wait(std::chrono::milliseconds(0));
  }

  void DisplayChange(TestShell& shell) {
    const std::string size = SessionLayoutName(shell);
    EXPECT_EQ(shell.Ask("displaychange " + size.substr(0, size.find('x')) + " " + size.substr(size.find('x') + 1)),
              "ok");
  }

  // Once the shell reports `status` (a prefix of its answer to `command`).
  bool WaitForShell(TestShell& shell, const std::string& command, const std::string& status,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    return WaitUntil([&] { return shell.Ask(command).compare(0, status.size(), status) == 0; }, timeout);
  }

  // No box on the way, and the tray ends cleanly when asked.
  void EndTray(TestShell& shell) {
    EXPECT_EQ(shell.Ask("box"), "error no-box");
    EXPECT_EQ(shell.Ask("closetray"), "ok");
    EXPECT_EQ(tray_->Wait(std::chrono::seconds(30)), 0);
    EXPECT_EQ(shell.Quit(), 0);
  }

  std::unique_ptr<ChildProcess> tray_;
};

TEST_F(BusyDesktopTest, RestoreAfterABurstOfDisplayChangesLandsOnceTheShellsOwnRelayoutIsOver) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt", kRelayout));
  const std::vector<ShellItem> stored = StoreScrambledLayout(shell);
  ASSERT_NO_FATAL_FAILURE(StartTray(shell));

  for (int message = 0; message < 3; ++message) {
    if (message > 0) SleepFor(std::chrono::milliseconds(300));
    DisplayChange(shell);
  }
  const Clock::time_point lastMessage = Clock::now();
  ASSERT_TRUE(WaitForShell(shell, "relayout", "relayout done 1")) << shell.Ask("relayout");
  const Clock::time_point relayoutDone = Clock::now();
  EXPECT_FALSE(SamePlaces(shell.Items(), stored)) << "the shell's own re-layout moved nothing";

  ASSERT_TRUE(WaitUntil([&] { return SamePlaces(shell.Items(), stored); }))
      << "the icons never went back to the stored layout";
  const double landed = SecondsSince(lastMessage);
  const double relayout = std::chrono::duration<double>(relayoutDone - lastMessage).count();
  ReportTiming("restore after 3 display changes 300 ms apart, the shell's own re-layout over " +
               std::to_string(relayout) + " s after the last: desktop as stored " + std::to_string(landed) +
               " s after the last message");
  // Sooner than the 20 s a restore waits at the most: it saw the shell finish.
  EXPECT_LT(landed, 12.0);

  const auto held = relayoutDone + std::chrono::seconds(5);
  if (Clock::now() < held) SleepFor(std::chrono::duration_cast<std::chrono::milliseconds>(held - Clock::now()));
  ExpectSamePositions(shell.Items(), stored);
  EXPECT_EQ(shell.Ask("relayout"), "relayout done 1");
  EndTray(shell);
}

TEST_F(BusyDesktopTest, StartupRestoreLandsOnADesktopThatAppearsLateAndFillsInBatches) {
  const std::vector<ShellItem> stored = StoreScrambledLayout();
  ASSERT_FALSE(HasFailure());
  ASSERT_NO_FATAL_FAILURE(SetOption("D\xE9marrage", 1));

  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt", kLateDesktop));
  ASSERT_EQ(shell.Ask("desktop"), "desktop absent");
  ASSERT_NO_FATAL_FAILURE(StartTray(shell));
  ASSERT_TRUE(WaitForShell(shell, "desktop", "desktop complete 20")) << shell.Ask("desktop");
  const Clock::time_point complete = Clock::now();
  ASSERT_TRUE(WaitUntil([&] { return SamePlaces(shell.Items(), stored); }))
      << "the start-up restore did not land";
  ReportTiming("start-up restore on a desktop 4 s late, 20 icons in batches: as stored " +
               std::to_string(SecondsSince(complete)) + " s after its last batch");
  SleepFor(std::chrono::seconds(2));
  ExpectSamePositions(shell.Items(), stored);
  EndTray(shell);
}

TEST_F(BusyDesktopTest, FirstLayoutOfATrayStartIsTakenFromTheWholeLateDesktop) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt", kLateDesktop));
  ASSERT_NO_FATAL_FAILURE(StartTray(shell));
  ASSERT_TRUE(WaitForShell(shell, "desktop", "desktop complete 20")) << shell.Ask("desktop");
  const std::vector<ShellItem> icons = shell.Items();
  const std::string key = LayoutKey(SessionLayoutName(shell));
  ASSERT_TRUE(WaitUntil([&] { return RegKeyExists(key); })) << "no first layout";
  SleepFor(std::chrono::seconds(1));  // the values of a save under way
  const RegKey layout = ReadKey(key);
  ASSERT_EQ(layout.values.size(), icons.size()) << "a first layout that lacks icons";
  for (const ShellItem& icon : icons) {
    const RegValue* value = layout.Find(icon.caption);
    ASSERT_NE(value, nullptr) << Windows1252ToUtf8(icon.caption);
    ASSERT_EQ(value->data.size(), 8u) << Windows1252ToUtf8(icon.caption);
    EXPECT_EQ(Int32At(value->data, 0), icon.x) << Windows1252ToUtf8(icon.caption);
    EXPECT_EQ(Int32At(value->data, 4), icon.y) << Windows1252ToUtf8(icon.caption);
  }
  EndTray(shell);
}

TEST_F(BusyDesktopTest, AutoloadWaitsForADesktopThatAppearsLateAndEndsWithZero) {
  const std::vector<ShellItem> stored = StoreScrambledLayout();
  ASSERT_FALSE(HasFailure());
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt", kLateDesktop));
  const DeskplanRun load = RunDeskplan({"/AUTOLOAD"}, std::chrono::seconds(90));
  ASSERT_FALSE(load.result.timedOut);
  EXPECT_EQ(load.result.exitCode, 0);
  EXPECT_EQ(shell.Ask("desktop"), "desktop complete 20") << "/AUTOLOAD ended before the desktop was whole";
  ExpectSamePositions(shell.Items(), stored);
  ReportTiming("/AUTOLOAD on a desktop 4 s late, 20 icons in batches: " + std::to_string(load.seconds) + " s wall");
  EXPECT_EQ(shell.Ask("box"), "error no-box");
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(BusyDesktopTest, AfterTheShellStartsAgainTheIconIsBackAtOnceAndTheLayoutRestored) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt", {"--batch-size", "5", "--batch-ms", "500"}));
  const std::vector<ShellItem> stored = StoreScrambledLayout(shell);
  ASSERT_NO_FATAL_FAILURE(StartTray(shell));
  ASSERT_TRUE(WaitForTrayIcons(1));

  // The old shell takes the notification area's icons with it.
  EXPECT_EQ(shell.Ask("untray"), "ok");
  ASSERT_TRUE(WaitForTrayIcons(0));
  EXPECT_EQ(shell.Ask("restart 1500"), "ok");
  ASSERT_TRUE(WaitForShell(shell, "desktop", "desktop filling")) << shell.Ask("desktop");
  ASSERT_TRUE(WaitForTrayIcons(1)) << "the icon did not come back";
  EXPECT_FALSE(SamePlaces(shell.Items(), stored)) << "the icon came back only after the restore";
  ASSERT_TRUE(WaitForShell(shell, "desktop", "desktop complete 20")) << shell.Ask("desktop");
  const Clock::time_point complete = Clock::now();
  ASSERT_TRUE(WaitUntil([&] { return SamePlaces(shell.Items(), stored); })) << "no restore after the restart";
  ReportTiming("restore after the shell started again, 20 icons in batches: as stored " +
               std::to_string(SecondsSince(complete)) + " s after its last batch");
  EndTray(shell);
}

TEST_F(BusyDesktopTest, WithAutomaticOffNeitherARestartNorADisplayChangeMovesAnIcon) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt", kRelayout));
  const std::vector<ShellItem> own = shell.Items();
  StoreScrambledLayout(shell);
  ASSERT_NO_FATAL_FAILURE(SetOption("Automatique", 0));
  ASSERT_NO_FATAL_FAILURE(StartTray(shell));
  ASSERT_TRUE(WaitForTrayIcons(1));

  EXPECT_EQ(shell.Ask("untray"), "ok");
  EXPECT_EQ(shell.Ask("restart 500"), "ok");
  ASSERT_TRUE(WaitForShell(shell, "desktop", "desktop complete 20")) << shell.Ask("desktop");
  EXPECT_TRUE(WaitForTrayIcons(1)) << "the icon did not come back";
  // A restore would have landed 1.5 s after the desktop was whole.
  SleepFor(std::chrono::milliseconds(5500));
  ExpectSamePositions(shell.Items(), own);

  DisplayChange(shell);
  ASSERT_TRUE(WaitForShell(shell, "relayout", "relayout done 1")) << shell.Ask("relayout");
  const std::vector<ShellItem> relaidOut = shell.Items();
  EXPECT_FALSE(SamePlaces(relaidOut, own)) << "the shell's own re-layout moved nothing";
  // And here 1.5 s after the shell's last step.
  SleepFor(std::chrono::milliseconds(5500));
  ExpectSamePositions(shell.Items(), relaidOut);
  EndTray(shell);
}

// Display changes every second keep the restore waiting; meanwhile the tray
// reads a 1,000-icon view four times a second, which must stay far from a
// busy loop.
TEST_F(BusyDesktopTest, WaitingOnAThousandIconsCostsLittleProcessorTime) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_1000.txt"));
  const std::vector<ShellItem> own = shell.Items();
  ASSERT_EQ(own.size(), 1000u);
  ASSERT_EQ(RunDeskplan({"/AUTOSAVE"}, std::chrono::seconds(120)).result.exitCode, 0);
  ASSERT_EQ(ReadKey(LayoutKey(SessionLayoutName(shell))).values.size(), own.size());
  ASSERT_NO_FATAL_FAILURE(StartTray(shell));
  ASSERT_EQ(shell.Ask("shift 13 7"), "shifted 1000");

  const int kMessages = 10;
  const long positionsBefore = PositionQueries(shell);
  const auto cpuBefore = ProcessCpuTime(tray_->Pid());
  const Clock::time_point first = Clock::now();
  for (int message = 0; message < kMessages; ++message) {
    if (message > 0) {
      const auto due = first + std::chrono::seconds(message);
      if (Clock::now() < due) SleepFor(std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()));
    }
    if (message == kMessages - 1) {
      ShellItem item;
      ASSERT_TRUE(shell.Item(999, item));
      EXPECT_EQ(item.x, own[999].x + 13) << "a restore ran while display changes kept coming";
    }
    DisplayChange(shell);
  }
  const double seconds = SecondsSince(first);
  const double cpu = std::chrono::duration<double, std::milli>(ProcessCpuTime(tray_->Pid()) - cpuBefore).count();
  const long positionsAfter = PositionQueries(shell);
  char line[200];
  std::snprintf(line, sizeof line,
                "waiting on 1000 icons: %.1f ms of CPU time per second of waiting, %.0f position queries per second",
                cpu / seconds, (positionsAfter - positionsBefore) / seconds);
  ReportTiming(line);
  EXPECT_LT(cpu / seconds, 500.0);

  // Once the messages stop, the restore comes. The shell answers our queries
  // on the thread that serves Deskplan's moves: reading all 1,000 icons over
  // and over would slow the restore down, so the last icon is watched first.
  const Clock::time_point last = Clock::now();
  ASSERT_TRUE(WaitUntil(
      [&] {
        ShellItem item;
        return shell.Item(999, item) && item.x == own[999].x && item.y == own[999].y;
      },
      std::chrono::seconds(40)))
      << "no restore after the last display change";
  ReportTiming("restore of 1000 icons after the last display change: the last one back " +
               std::to_string(SecondsSince(last)) + " s after it");
  EXPECT_TRUE(WaitUntil([&] { return SamePlaces(shell.Items(), own); })) << "not every icon went back";
  EndTray(shell);
}

}  // namespace
}  // namespace e2e
