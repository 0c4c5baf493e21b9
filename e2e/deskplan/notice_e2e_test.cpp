// Deskplan's notices under Wine: the second start while a tray instance runs,
// and a restore onto a desktop that arranges its icons by itself. Each box is
// captured on screen while it shows, then answered through the test shell.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "deskplan_harness.h"

namespace e2e {
namespace {

const char kAlreadyRunning[] =
    "Deskplan est d\xE9j\xE0 actif dans la barre des t\xE2" "ches (systray).\r\n"
    "Cliquez sur son ic\xF4ne pour ouvrir le menu des options.";
const char kAutoArrange[] =
    "Veuillez d\xE9sactiver l'option du bureau :\r\nAffichage : R\xE9organisation automatique";
const unsigned long kAutoArrangeBit = 0x0100;

bool NonEmptyFile(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && info.st_size > 0;
}

class DeskplanNoticeTest : public DeskplanTest {};

TEST_F(DeskplanNoticeTest, SecondStartShowsTheAlreadyRunningNoticeAndDoesNothingElse) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  const std::string layoutKey = LayoutKey(SessionLayoutName(shell));
  const std::vector<ShellItem> original = shell.Items();

  // The first tray start stores the layout of this screen size without a box.
  auto tray = StartDeskplan({});
  ASSERT_TRUE(WaitForTray(shell, std::chrono::seconds(60)))
      << "the tray window did not appear; Deskplan's exit code " << tray->Wait(std::chrono::milliseconds(0))
      << " (-1: still running), box: " << shell.Ask("box") << ", screen in " << TakeScreenshot("deskplan_no_tray");
  RegKey layout;
  for (int tries = 0; tries < 50 && layout.values.size() < original.size(); ++tries) layout = ReadKey(layoutKey);
  EXPECT_EQ(layout.values.size(), original.size());
  EXPECT_EQ(shell.Ask("box"), "error no-box");

  // The second start's switch is never carried out: the moved icon is not saved.
  ASSERT_TRUE(shell.Move(0, 700, 500));
  auto second = StartDeskplan({"/NOPROMPT", "/AUTOSAVE"});
  std::string text;
  ASSERT_TRUE(WaitForBox(shell, text)) << "no notice appeared";
  EXPECT_EQ(text, kAlreadyRunning);
  EXPECT_TRUE(NonEmptyFile(TakeScreenshot("deskplan_deja_actif")));
  EXPECT_EQ(shell.Ask("answer 1"), "ok");
  EXPECT_EQ(second->Wait(std::chrono::seconds(30)), 0);
  const RegValue* first = ReadKey(layoutKey).Find(original[0].caption);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Int32At(first->data, 0), original[0].x);
  EXPECT_EQ(Int32At(first->data, 4), original[0].y);

  // Closing the hidden window ends the tray program cleanly.
  const auto closing = std::chrono::steady_clock::now();
  EXPECT_EQ(shell.Ask("closetray"), "ok");
  EXPECT_EQ(tray->Wait(std::chrono::seconds(30)), 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - closing).count();
  ReportTiming("tray closed through WM_CLOSE to its hidden window: " + std::to_string(seconds) + " s to exit");
  EXPECT_EQ(shell.Ask("tray"), "error no-tray");
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(DeskplanNoticeTest, RestoreOntoAnAutoArrangedDesktopShowsTheNoticeOnceAndClearsTheBit) {
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.autoArrange = true;
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  const unsigned long style = shell.Style();
  ASSERT_NE(style & kAutoArrangeBit, 0u);
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(RunDeskplan({"/AUTOSAVE"}).result.exitCode, 0);
  EXPECT_EQ(shell.Style(), style) << "a save must leave the style alone";

  auto restore = StartDeskplan({"/AUTOLOAD"});
  std::string text;
  ASSERT_TRUE(WaitForBox(shell, text)) << "no notice appeared";
  EXPECT_EQ(text, kAutoArrange);
  EXPECT_TRUE(NonEmptyFile(TakeScreenshot("deskplan_reorganisation_automatique")));
  EXPECT_EQ(shell.Ask("answer 1"), "ok");
  // The second pass finds the bit clear and shows nothing: the run ends alone.
  EXPECT_EQ(restore->Wait(std::chrono::seconds(60)), 0) << "a second notice held the restore";
  EXPECT_EQ(shell.Style(), style & ~kAutoArrangeBit);
  ExpectSamePositions(shell.Items(), saved);
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
