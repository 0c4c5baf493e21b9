// The legacy path end to end: Wine reports Windows 98 to Deskplan.exe on a
// system that is NT underneath, as a compatibility mode does; the test shell
// serves the 9x shared arena, which must not be used there. The walk through
// the arena itself is covered natively on a modelled Windows 9x system.
#include <gtest/gtest.h>

#include <cstdio>

#include "deskplan_harness.h"

namespace e2e {
namespace {

struct ArenaCount {
  int served = -1;  // answered from the shell's own view of the "Deskplan" area
  int passed = -1;  // passed on to the list view as they came
};

ArenaCount AskArena(TestShell& shell) {
  ArenaCount count;
  std::sscanf(shell.Ask("arena").c_str(), "arena served=%d passed=%d", &count.served, &count.passed);
  return count;
}

class DeskplanLegacyTest : public DeskplanTest {};

// Wine's French text for error 120 (ERROR_CALL_NOT_IMPLEMENTED), "Appel non
// implémenté.", without its full stop (read from Wine's kernelbase message
// table next to the texts of 117 to 121; Windows words it differently).
const char kNotSupported[] = "Appel non impl\xE9ment\xE9";

// Under Wine the system is NT whatever version it reports: a "win98" setting
// plays a compatibility mode, and the shared arena must not be handed to the
// shell, which would write into its own memory at that address.
TEST_F(DeskplanLegacyTest, Windows98ReportedOnAnNtSystemRefusesTheSharedArenaWithANotice) {
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.extraOptions.push_back("--shared-arena");
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  const std::string layoutKey = LayoutKey(SessionLayoutName(shell));
  const std::vector<ShellItem> original = shell.Items();
  ASSERT_EQ(original.size(), 20u);

  {
    WineVersionFor win98("Deskplan.exe", "win98");
    ASSERT_TRUE(win98.Applied());
    auto save = StartDeskplan({"/AUTOSAVE"});
    std::string text;
    ASSERT_TRUE(WaitForBox(shell, text)) << "no notice appeared";
    EXPECT_EQ(text, kNotSupported) << Windows1252ToUtf8(text);
    TakeScreenshot("deskplan_win98_refus");
    EXPECT_EQ(shell.Ask("answer 1"), "ok");
    EXPECT_EQ(save->Wait(std::chrono::seconds(60)), 0);
    EXPECT_FALSE(RegKeyExists(layoutKey)) << "nothing may be stored";
    EXPECT_EQ(AskArena(shell).served, 0);
    EXPECT_EQ(AskArena(shell).passed, 0) << "nothing may be sent to the shell";
    ExpectSamePositions(shell.Items(), original);
  }
  EXPECT_FALSE(RegKeyExists("HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\Deskplan.exe"))
      << "the Windows 98 setting must not outlive the test";
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(DeskplanLegacyTest, WithoutTheVersionSettingTheCrossProcessMethodIsUsed) {
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.extraOptions.push_back("--shared-arena");
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  ASSERT_EQ(RunDeskplan({"/AUTOSAVE"}).result.exitCode, 0);
  // Caption and position of every item, with addresses inside the shell.
  EXPECT_EQ(AskArena(shell).served, 0);
  EXPECT_EQ(AskArena(shell).passed, 2 * 20);
  const RegKey layout = ReadKey(LayoutKey(SessionLayoutName(shell)));
  ASSERT_EQ(layout.values.size(), 20u);
  for (const RegValue& value : layout.values) EXPECT_EQ(value.type, 3) << Windows1252ToUtf8(value.name);
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
