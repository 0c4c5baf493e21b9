// The legacy path end to end: Wine reports Windows 98 to Deskplan.exe, the
// test shell serves the 9x shared arena, and layouts are stored as packed
// REG_DWORD positions.
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

TEST_F(DeskplanLegacyTest, Windows98SavesPackedPositionsThroughTheSharedArenaAndRestoresThem) {
  TestShell shell;
  ShellStart start = ShellStart::WithFixture("desktop_fr.txt");
  start.extraOptions.push_back("--shared-arena");
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
  const std::string name = SessionLayoutName(shell);
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(saved.size(), 20u);

  {
    WineVersionFor win98("Deskplan.exe", "win98");
    ASSERT_TRUE(win98.Applied());
    ASSERT_EQ(RunDeskplan({"/AUTOSAVE"}).result.exitCode, 0);
    // Caption and position of every item, each read through the arena.
    EXPECT_EQ(AskArena(shell).served, 2 * 20);
    EXPECT_EQ(AskArena(shell).passed, 0);

    const RegKey layout = ReadKey(LayoutKey(name));
    ASSERT_EQ(layout.values.size(), saved.size());
    for (const ShellItem& icon : saved) {
      const RegValue* value = layout.Find(icon.caption);
      ASSERT_NE(value, nullptr) << Windows1252ToUtf8(icon.caption);
      EXPECT_EQ(value->type, 4) << Windows1252ToUtf8(icon.caption);
      ASSERT_EQ(value->data.size(), 4u);
      const int packed = Int32At(value->data, 0);
      EXPECT_EQ(static_cast<short>(packed & 0xFFFF), icon.x) << Windows1252ToUtf8(icon.caption);
      EXPECT_EQ(static_cast<short>((packed >> 16) & 0xFFFF), icon.y) << Windows1252ToUtf8(icon.caption);
    }
    const RegValue* version = ReadKey(kProductKey).Find("Version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->data, "4.2.0.0");

    ScrambleIcons(shell);
    ASSERT_EQ(RunDeskplan({"/AUTOLOAD"}).result.exitCode, 0);
    // One pass: caption and position read, then the move, for every item.
    EXPECT_EQ(AskArena(shell).served, 2 * 20 + 3 * 20);
    EXPECT_EQ(AskArena(shell).passed, 0);
    ExpectSamePositions(shell.Items(), saved);
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
