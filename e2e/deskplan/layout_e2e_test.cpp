// Save and restore through the command line, with the cross-process method:
// the exact registry values, then every icon put back after a scramble.
#include <gtest/gtest.h>

#include "deskplan_harness.h"

namespace e2e {
namespace {

const std::string kSeparator = "\xA0____\xA0";

class DeskplanLayoutTest : public DeskplanTest {};

// One REG_BINARY of 8 bytes per icon: x then y, signed little-endian.
void ExpectIconPosition(const RegKey& layout, const std::string& name, const ShellItem& icon) {
  const RegValue* value = layout.Find(name);
  ASSERT_NE(value, nullptr) << "no value named " << Windows1252ToUtf8(name);
  EXPECT_EQ(value->type, 3) << Windows1252ToUtf8(name);
  ASSERT_EQ(value->data.size(), 8u) << Windows1252ToUtf8(name);
  EXPECT_EQ(Int32At(value->data, 0), icon.x) << Windows1252ToUtf8(name);
  EXPECT_EQ(Int32At(value->data, 4), icon.y) << Windows1252ToUtf8(name);
}

TEST_F(DeskplanLayoutTest, AutosaveWritesOneValuePerIconAndAutoloadPutsEveryIconBack) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  const std::string name = SessionLayoutName(shell);
  ASSERT_FALSE(name.empty());
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(saved.size(), 20u);

  const DeskplanRun save = RunDeskplan({"/AUTOSAVE"});
  ASSERT_FALSE(save.result.timedOut);
  EXPECT_EQ(save.result.exitCode, 0);

  const RegKey product = ReadKey(kProductKey);
  const RegValue* version = product.Find("Version");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->type, 1);
  EXPECT_EQ(version->data, "4.2.0.0");
  const RegKey layout = ReadKey(LayoutKey(name));
  ASSERT_EQ(layout.values.size(), saved.size()) << "layout key " << LayoutKey(name);
  for (const ShellItem& icon : saved) ExpectIconPosition(layout, icon.caption, icon);

  ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/AUTOLOAD"});
  ASSERT_FALSE(load.result.timedOut);
  EXPECT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), saved);
  EXPECT_FALSE(TakeScreenshot("deskplan_restored").empty());
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(DeskplanLayoutTest, EqualCaptionsAreStoredUnderSuffixedNamesAndRestoredToTheirOwnPlaces) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_duplicates.txt"), error)) << error;
  const std::string name = SessionLayoutName(shell);
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(saved.size(), 7u);

  ASSERT_EQ(RunDeskplan({"/autosave"}).result.exitCode, 0);
  const RegKey layout = ReadKey(LayoutKey(name));
  EXPECT_EQ(layout.values.size(), 7u);
  const std::string folder = "Nouveau dossier";
  const std::string expectedNames[] = {
      folder,
      folder + kSeparator + "(1)",
      folder + kSeparator + "(1)" + kSeparator + "(2)",
      "Notes",
      "NOTES" + kSeparator + "(1)",
      folder + kSeparator + "(1)" + kSeparator + "(1)",
      "Corbeille",
  };
  for (std::size_t i = 0; i < saved.size(); ++i) ExpectIconPosition(layout, expectedNames[i], saved[i]);

  ScrambleIcons(shell);
  ASSERT_EQ(RunDeskplan({"/AutoLoad"}).result.exitCode, 0);
  ExpectSamePositions(shell.Items(), saved);
  EXPECT_EQ(shell.Quit(), 0);
}

TEST_F(DeskplanLayoutTest, AutoloadWithoutAStoredLayoutMovesNothing) {
  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_fr.txt"), error)) << error;
  const std::vector<ShellItem> scrambled = ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/AUTOLOAD"}, std::chrono::seconds(30));
  ASSERT_FALSE(load.result.timedOut) << "a box held the restore";
  EXPECT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), scrambled);
  EXPECT_FALSE(RegKeyExists(LayoutKey(SessionLayoutName(shell))));
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
