// Deskplan against a desktop that misbehaves: a shell process that ends in the
// middle of a save or a restore, captions that fill the whole buffer without a
// terminating zero, an item count larger than the view's items, and a view
// that empties itself during a walk. Whatever happens, the stored layout stays
// the old one or becomes the complete new one, a run that did not do its job
// ends with 1 and shows the application error box unless it was quiet (a
// quiet one goes on with its next switch), no Deskplan process stays behind
// and nothing crashes.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

#include "hostile_desktop.h"

namespace e2e {
namespace {

const char kErrorBoxStart[] = "Exception OsError dans le module Deskplan.exe dans ";
const char kSystemError[] = "Erreur syst\xE8me.  Code : ";
const std::size_t kCaptionBuffer = 4096;  // what Deskplan offers the view per caption
const char kPadding = '~';                // what the test desktop fills it with

struct Breakoff {
  const char* kind;  // text, position or move
  int after;         // queries of that kind answered before the shell ends
  const char* fixture;
};

void PrintTo(const Breakoff& breakoff, std::ostream* out) {
  *out << breakoff.kind << " after " << breakoff.after << " in " << breakoff.fixture;
}

std::string BreakoffName(const ::testing::TestParamInfo<Breakoff>& info) {
  return std::string(info.param.kind) + "_" + std::to_string(info.param.after) + "_of_" +
         (std::string(info.param.fixture) == "desktop_fr.txt" ? "20" : "100");
}

class HostileDesktopTest : public DeskplanTest {
 protected:
  void StartShell(TestShell& shell, const std::string& fixture, const std::vector<std::string>& options = {}) {
    ASSERT_NO_FATAL_FAILURE(DeskplanTest::StartShell(shell, fixture, options));
    key_ = LayoutKey(SessionLayoutName(shell));
  }

  // Stores the desktop as it is, then moves every icon, so that the next
  // save would store other data. Answers the stored layout.
  std::string StoreOldLayout(TestShell& shell) {
    const DeskplanRun save = RunDeskplan({"/NOPROMPT", "/AUTOSAVE"});
    EXPECT_FALSE(save.result.timedOut);
    EXPECT_EQ(save.result.exitCode, 0);
    EXPECT_EQ(shell.Ask("shift 7 9").compare(0, 8, "shifted "), 0);
    const std::string old = LayoutText(key_);
    EXPECT_NE(old, "absent");
    return old;
  }

  static void ExpectNothingLeftRunning() {
    EXPECT_TRUE(SessionProcesses("Deskplan.exe").empty()) << "a Deskplan process stayed behind";
    EXPECT_TRUE(SessionProcesses("winedbg").empty()) << "Wine's crash dialog was started";
  }

  static void ExpectApplicationErrorBox(const RunEnd& end) {
    ASSERT_TRUE(end.boxShown) << "no application error box; exit code " << end.exitCode;
    std::string shown = Windows1252ToUtf8(end.boxText);
    for (char& c : shown)
      if (c == '\r' || c == '\n') c = '|';
    std::printf("[ BOX      ] %s\n", shown.c_str());
    EXPECT_EQ(end.boxText.compare(0, sizeof kErrorBoxStart - 1, kErrorBoxStart), 0) << end.boxText;
    EXPECT_NE(end.boxText.find(kSystemError), std::string::npos) << Windows1252ToUtf8(end.boxText);
    EXPECT_EQ(end.exitCode, 1);
  }

  // A quiet run that broke off: no box was shown, and the exit code says so.
  static void ExpectSilentBreakOff(const RunEnd& end) {
    EXPECT_FALSE(end.boxShown) << "a box in a quiet run: " << Windows1252ToUtf8(end.boxText);
    EXPECT_EQ(end.exitCode, 1);
  }

  // Runs Deskplan while the shell ends as set, and reads any box through a
  // second test desktop.
  RunEnd RunUntilTheShellEnds(TestShell& shell, const std::vector<std::string>& arguments,
                              const std::string& screenshot) {
    auto run = StartDeskplan(arguments);
    EXPECT_TRUE(WaitForShellEnd(shell)) << "the test desktop did not end";
    TestShell witness;
    std::string error;
    EXPECT_TRUE(witness.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
    RunEnd end = AwaitRunEnd(*run, witness, screenshot);
    EXPECT_EQ(witness.Quit(), 0);
    return end;
  }

  std::string key_;
};

class ShellEndsDuringASave : public HostileDesktopTest, public ::testing::WithParamInterface<Breakoff> {};
class ShellEndsDuringARestore : public HostileDesktopTest, public ::testing::WithParamInterface<Breakoff> {};

// A log-on script's quiet save and export: the save breaks off without a
// box, the export of the layout stored before still runs, the code is 1.
TEST_P(ShellEndsDuringASave, TheOldLayoutStaysAndIsExportedWithoutABox) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, GetParam().fixture));
  const std::string old = StoreOldLayout(shell);
  const RegKey oldLayout = ReadKey(key_);
  RemoveTodaysExports();
  ASSERT_EQ(shell.Ask(std::string("hostile end-after ") + GetParam().kind + " " + std::to_string(GetParam().after)),
            "ok");
  const RunEnd end = RunUntilTheShellEnds(shell, {"/NOPROMPT", "/AUTOSAVE", "/EXPORT"},
                                          "hostile_save_" + BreakoffName({GetParam(), 0}));
  ExpectSilentBreakOff(end);
  EXPECT_EQ(LayoutText(key_), old) << "the stored layout changed";
  const std::string exported = TodaysExport();
  ASSERT_FALSE(exported.empty()) << "no export was written";
  for (const RegValue& value : oldLayout.values)
    EXPECT_NE(exported.find("\r\n" + RegFileQuoted(value.name) + "=hex:"), std::string::npos)
        << Windows1252ToUtf8(value.name);
  RemoveTodaysExports();
  ExpectNothingLeftRunning();
}

INSTANTIATE_TEST_SUITE_P(AfterItemK, ShellEndsDuringASave,
                         ::testing::Values(Breakoff{"text", 10, "desktop_fr.txt"},
                                           Breakoff{"position", 5, "desktop_fr.txt"},
                                           Breakoff{"text", 70, "desktop_100.txt"}),
                         BreakoffName);

TEST_P(ShellEndsDuringARestore, TheLayoutStaysAndTheErrorBoxShows) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, GetParam().fixture));
  const std::string stored = StoreOldLayout(shell);
  ASSERT_EQ(shell.Ask(std::string("hostile end-after ") + GetParam().kind + " " + std::to_string(GetParam().after)),
            "ok");
  const RunEnd end = RunUntilTheShellEnds(shell, {"/AUTOLOAD"}, "hostile_restore_" + BreakoffName({GetParam(), 0}));
  ExpectApplicationErrorBox(end);
  EXPECT_EQ(LayoutText(key_), stored) << "a restore changed the stored layout";
  ExpectNothingLeftRunning();
}

INSTANTIATE_TEST_SUITE_P(AfterItemK, ShellEndsDuringARestore,
                         ::testing::Values(Breakoff{"text", 3, "desktop_fr.txt"},
                                           Breakoff{"move", 7, "desktop_fr.txt"},
                                           Breakoff{"move", 80, "desktop_100.txt"}),
                         BreakoffName);

// The shell ends at once after answering item k, racing Deskplan's next step
// (the next message, or the copy of a batch out of the shell): the save
// either breaks off, keeps the old layout and says so, or, when its last copy
// came first, stores the whole new layout and ends with 0.
class ShellEndsRightAfterAnAnswer : public HostileDesktopTest, public ::testing::WithParamInterface<Breakoff> {};

TEST_P(ShellEndsRightAfterAnAnswer, ASaveKeepsTheOldLayoutOrStoresTheWholeNewOne) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, GetParam().fixture));
  const std::string old = StoreOldLayout(shell);
  const std::vector<ShellItem> icons = shell.Items();
  ASSERT_EQ(shell.Ask(std::string("hostile end-right-after ") + GetParam().kind + " " +
                      std::to_string(GetParam().after)),
            "ok");
  const RunEnd end = RunUntilTheShellEnds(shell, {"/NOPROMPT", "/AUTOSAVE"},
                                          "hostile_save_right_after_" + BreakoffName({GetParam(), 0}));
  std::printf("[ OUTCOME  ] %s after %d: %s, exit code %d\n", GetParam().kind, GetParam().after,
              end.exitCode == 1 ? "broken off" : "saved", end.exitCode);
  if (end.exitCode != 0) {
    ExpectSilentBreakOff(end);
    EXPECT_EQ(LayoutText(key_), old) << "the stored layout changed";
  } else {
    EXPECT_EQ(end.exitCode, 0);
    const RegKey layout = ReadKey(key_);
    EXPECT_EQ(layout.values.size(), icons.size()) << "a partial layout was stored";
    for (const ShellItem& icon : icons) {
      const RegValue* value = layout.Find(icon.caption);
      ASSERT_NE(value, nullptr) << Windows1252ToUtf8(icon.caption);
      EXPECT_EQ(Int32At(value->data, 0), icon.x);
      EXPECT_EQ(Int32At(value->data, 4), icon.y);
    }
  }
  ExpectNothingLeftRunning();
}

INSTANTIATE_TEST_SUITE_P(AfterItemK, ShellEndsRightAfterAnAnswer,
                         ::testing::Values(Breakoff{"text", 10, "desktop_fr.txt"},
                                           Breakoff{"position", 20, "desktop_fr.txt"},
                                           Breakoff{"position", 64, "desktop_100.txt"}),
                         BreakoffName);

TEST_F(HostileDesktopTest, RestoreWhoseShellEndsRightAfterAMoveShowsTheBox) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  const std::string stored = StoreOldLayout(shell);
  ASSERT_EQ(shell.Ask("hostile end-right-after move 7"), "ok");
  const RunEnd end = RunUntilTheShellEnds(shell, {"/AUTOLOAD"}, "hostile_restore_right_after_move_7");
  ExpectApplicationErrorBox(end);
  EXPECT_EQ(LayoutText(key_), stored);
  ExpectNothingLeftRunning();
}

// The caption as Deskplan receives it: the view's text, then padding up to the
// end of the buffer.
std::string FilledCaption(const std::string& caption) {
  std::string filled = caption;
  filled.resize(kCaptionBuffer, kPadding);
  return filled;
}

void ExpectStoredAt(const RegKey& layout, const std::string& name, const ShellItem& icon) {
  const RegValue* value = layout.Find(name);
  ASSERT_NE(value, nullptr) << "no value for " << Windows1252ToUtf8(icon.caption);
  EXPECT_EQ(value->type, 3);
  ASSERT_EQ(value->data.size(), 8u);
  EXPECT_EQ(Int32At(value->data, 0), icon.x) << Windows1252ToUtf8(icon.caption);
  EXPECT_EQ(Int32At(value->data, 4), icon.y) << Windows1252ToUtf8(icon.caption);
}

TEST_F(HostileDesktopTest, CaptionsWithoutTerminatorAreStoredWholeAndRestored) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  StoreOldLayout(shell);
  const std::vector<ShellItem> icons = shell.Items();
  ASSERT_EQ(shell.Ask("hostile unterminated"), "ok");

  const DeskplanRun save = RunDeskplan({"/NOPROMPT", "/AUTOSAVE"});
  ASSERT_FALSE(save.result.timedOut);
  EXPECT_EQ(save.result.exitCode, 0);
  // The new layout replaced the old one whole: no value of the old names left.
  const RegKey layout = ReadKey(key_);
  EXPECT_EQ(layout.values.size(), icons.size());
  for (const ShellItem& icon : icons) ExpectStoredAt(layout, FilledCaption(icon.caption), icon);
  const std::string stored = LayoutText(key_);

  ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/NOPROMPT", "/AUTOLOAD"});
  ASSERT_FALSE(load.result.timedOut);
  EXPECT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), icons);
  EXPECT_EQ(LayoutText(key_), stored);
  // The save and the restore's first pass ask once per icon; the second pass
  // uses the captions the first one read.
  EXPECT_NE(shell.Ask("hostile").find(" text 40 "), std::string::npos) << "every query answered filled: 20 + 20";
  ExpectNothingLeftRunning();
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(HostileDesktopTest, ItemsCountedButMissingAreLeftOut) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  StoreOldLayout(shell);
  const std::vector<ShellItem> icons = shell.Items();
  ASSERT_EQ(shell.Ask("hostile extra 50"), "ok");

  const DeskplanRun save = RunDeskplan({"/NOPROMPT", "/AUTOSAVE"});
  ASSERT_FALSE(save.result.timedOut);
  EXPECT_EQ(save.result.exitCode, 0);
  const RegKey layout = ReadKey(key_);
  EXPECT_EQ(layout.values.size(), icons.size());
  for (const ShellItem& icon : icons) ExpectStoredAt(layout, icon.caption, icon);
  const std::string stored = LayoutText(key_);

  ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/NOPROMPT", "/AUTOLOAD"});
  ASSERT_FALSE(load.result.timedOut);
  EXPECT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), icons);
  EXPECT_EQ(LayoutText(key_), stored);
  // Every pass asked for the count, and asked for the 50 missing items too.
  EXPECT_NE(shell.Ask("hostile").find(" text 210 "), std::string::npos) << shell.Ask("hostile");
  ExpectNothingLeftRunning();
  EXPECT_EQ(shell.Quit(), 0);
}

// A count far beyond the items held: the walk ends after the first batch the
// view cannot give at all, instead of asking for every counted item (about a
// quarter of a millisecond a question) while a restore holds the view's redraw.
TEST_F(HostileDesktopTest, ACountFarBeyondTheItemsDoesNotHoldTheWalk) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  const std::vector<ShellItem> icons = shell.Items();
  ASSERT_EQ(shell.Ask("hostile extra 1000000"), "ok");
  const DeskplanRun save = RunDeskplan({"/NOPROMPT", "/AUTOSAVE"}, std::chrono::seconds(60));
  ASSERT_FALSE(save.result.timedOut) << "the save walked the counted items";
  EXPECT_EQ(save.result.exitCode, 0);
  EXPECT_EQ(ReadKey(key_).values.size(), icons.size());
  ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/NOPROMPT", "/AUTOLOAD"}, std::chrono::seconds(60));
  ASSERT_FALSE(load.result.timedOut) << "the restore walked the counted items";
  EXPECT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), icons);
  EXPECT_EQ(shell.Ask("paints").substr(shell.Ask("paints").size() - 1), "1") << "the view's redraw is back on";
  ReportTiming("save of 20 icons with a count of 1000020: " + std::to_string(save.seconds) + " s, restore " +
               std::to_string(load.seconds) + " s");
  ExpectNothingLeftRunning();
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(HostileDesktopTest, ViewEmptiedDuringAQuietSaveKeepsTheOldLayoutAndEndsWithOne) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  const std::string old = StoreOldLayout(shell);
  ASSERT_EQ(shell.Ask("hostile zero-after 5"), "ok");
  auto run = StartDeskplan({"/NOPROMPT", "/AUTOSAVE"});
  const RunEnd end = AwaitRunEnd(*run, shell, "hostile_save_emptied");
  ExpectSilentBreakOff(end);
  EXPECT_EQ(LayoutText(key_), old) << "a partial layout replaced the stored one";
  ExpectNothingLeftRunning();
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(HostileDesktopTest, ViewEmptiedDuringARestoreTellsTheUser) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  const std::string stored = StoreOldLayout(shell);
  const std::vector<ShellItem> shifted = shell.Items();
  ASSERT_EQ(shell.Ask("hostile zero-after 5"), "ok");
  auto run = StartDeskplan({"/AUTOLOAD"});
  const RunEnd end = AwaitRunEnd(*run, shell, "hostile_restore_emptied");
  ExpectApplicationErrorBox(end);
  EXPECT_EQ(LayoutText(key_), stored);
  // The icons the view no longer gave stayed where they were.
  const std::vector<ShellItem> now = shell.Items();
  ASSERT_EQ(now.size(), shifted.size());
  for (std::size_t i = 5; i < now.size(); ++i) {
    EXPECT_EQ(now[i].x, shifted[i].x) << "item " << i;
    EXPECT_EQ(now[i].y, shifted[i].y) << "item " << i;
  }
  ExpectNothingLeftRunning();
  EXPECT_EQ(shell.Quit(), 0);
}

// A view that empties itself only once every item was given: the save is
// whole, and a restore's second pass finds nothing left to move.
TEST_F(HostileDesktopTest, ViewEmptiedAfterAWholeWalkIsNoFailure) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  StoreOldLayout(shell);
  const std::vector<ShellItem> icons = shell.Items();
  // Caption and position of 20 items.
  ASSERT_EQ(shell.Ask("hostile zero-after 40"), "ok");
  const DeskplanRun save = RunDeskplan({"/NOPROMPT", "/AUTOSAVE"});
  ASSERT_FALSE(save.result.timedOut);
  EXPECT_EQ(save.result.exitCode, 0);
  const RegKey layout = ReadKey(key_);
  EXPECT_EQ(layout.values.size(), icons.size());
  for (const ShellItem& icon : icons) ExpectStoredAt(layout, icon.caption, icon);
  const std::string stored = LayoutText(key_);

  ScrambleIcons(shell);
  // Caption and move of 20 items: the first pass is whole.
  ASSERT_EQ(shell.Ask("hostile zero-after 40"), "ok");
  const DeskplanRun load = RunDeskplan({"/NOPROMPT", "/AUTOLOAD"});
  ASSERT_FALSE(load.result.timedOut);
  EXPECT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), icons);
  EXPECT_EQ(LayoutText(key_), stored);
  ExpectNothingLeftRunning();
  EXPECT_EQ(shell.Quit(), 0);
}

// In a tray start the box shows and the tray goes on: the first layout of a
// display size, broken off by the shell's end, stores nothing.
TEST_F(HostileDesktopTest, TrayWhoseFirstSaveBreaksOffShowsTheBoxStoresNothingAndGoesOn) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  ASSERT_EQ(shell.Ask("hostile end-after text 5"), "ok");
  auto tray = StartDeskplan({});
  ASSERT_TRUE(WaitForShellEnd(shell)) << "the test desktop did not end";
  TestShell witness;
  std::string error;
  ASSERT_TRUE(witness.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  std::string text;
  ASSERT_TRUE(AwaitErrorBox(*tray, witness, "hostile_tray_first_save", text))
      << "no application error box; exit code " << tray->Wait(std::chrono::milliseconds(0));
  EXPECT_NE(text.find(kSystemError), std::string::npos) << Windows1252ToUtf8(text);
  EXPECT_TRUE(WaitForTray(witness)) << "the tray did not go on";
  EXPECT_EQ(LayoutText(key_), "absent");
  EXPECT_EQ(witness.Ask("closetray"), "ok");
  EXPECT_EQ(tray->Wait(std::chrono::seconds(30)), 0);
  ExpectNothingLeftRunning();
  EXPECT_EQ(witness.Quit(), 0);
}

TEST_F(HostileDesktopTest, TrayRestoreOnADisplayChangeBrokenOffShowsTheBoxAndGoesOn) {
  TestShell shell;
  ASSERT_NO_FATAL_FAILURE(StartShell(shell, "desktop_fr.txt"));
  const std::string stored = StoreOldLayout(shell);
  auto tray = StartDeskplan({});
  ASSERT_TRUE(WaitForTray(shell));
  EXPECT_EQ(shell.Ask("box"), "error no-box");
  ASSERT_EQ(shell.Ask("hostile end-after move 5"), "ok");
  const std::string screen = SessionLayoutName(shell);
  EXPECT_EQ(shell.Ask("displaychange " + screen.substr(0, screen.find('x')) + " " +
                      screen.substr(screen.find('x') + 1)),
            "ok");
  ASSERT_TRUE(WaitForShellEnd(shell)) << "the test desktop did not end";
  TestShell witness;
  std::string error;
  ASSERT_TRUE(witness.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  std::string text;
  ASSERT_TRUE(AwaitErrorBox(*tray, witness, "hostile_tray_display_change", text))
      << "no application error box; exit code " << tray->Wait(std::chrono::milliseconds(0));
  EXPECT_NE(text.find(kSystemError), std::string::npos) << Windows1252ToUtf8(text);
  EXPECT_TRUE(WaitForTray(witness)) << "the tray did not go on";
  EXPECT_EQ(LayoutText(key_), stored);
  EXPECT_EQ(witness.Ask("closetray"), "ok");
  EXPECT_EQ(tray->Wait(std::chrono::seconds(30)), 0);
  ExpectNothingLeftRunning();
  EXPECT_EQ(witness.Quit(), 0);
}

}  // namespace
}  // namespace e2e
