// The shipped 32-bit Deskplan on 64-bit Windows (WOW64), the situation of most
// users: against the 64-bit test desktop its item records must take the wide
// layout, against a 32-bit one (a WOW64 shell) the narrow one. A wrong choice
// reads garbage captions or moves nothing. 1,000 icons, every value and every
// position checked exactly.
#include <gtest/gtest.h>

#include <cstdio>

#include "deskplan_harness.h"
#include "wine_probe.h"

namespace e2e {
namespace {

class DeskplanWow64Test : public DeskplanTest {};

TEST_F(DeskplanWow64Test, SavesAndRestoresAThousandIconsExactly) {
  ASSERT_EQ(PeImageBits(ProgramPath("Deskplan.exe")), 32) << "not the 32-bit Deskplan: " << ProgramPath("Deskplan.exe");
  const int shellBits = PeImageBits(ShellProgramPath("testshell.exe"));
  ASSERT_TRUE(shellBits == 32 || shellBits == 64) << ShellProgramPath("testshell.exe");
  RecordProperty("desktop_bits", shellBits);

  TestShell shell;
  std::string error;
  ASSERT_TRUE(shell.Start(ShellStart::WithFixture("desktop_1000.txt"), error)) << error;
  const std::vector<ShellItem> saved = shell.Items();
  ASSERT_EQ(saved.size(), 1000u);

  const DeskplanRun save = RunDeskplan({"/AUTOSAVE"}, std::chrono::seconds(280));
  ASSERT_FALSE(save.result.timedOut);
  ASSERT_EQ(save.result.exitCode, 0);
  const RegKey layout = ReadKey(LayoutKey(SessionLayoutName(shell)));
  ASSERT_EQ(layout.values.size(), saved.size());
  for (const ShellItem& icon : saved) {
    const RegValue* value = layout.Find(icon.caption);
    ASSERT_NE(value, nullptr) << "no value for " << Windows1252ToUtf8(icon.caption);
    ASSERT_EQ(value->type, 3) << Windows1252ToUtf8(icon.caption);
    ASSERT_EQ(value->data.size(), 8u) << Windows1252ToUtf8(icon.caption);
    EXPECT_EQ(Int32At(value->data, 0), icon.x) << Windows1252ToUtf8(icon.caption);
    EXPECT_EQ(Int32At(value->data, 4), icon.y) << Windows1252ToUtf8(icon.caption);
  }

  ScrambleIcons(shell);
  const DeskplanRun load = RunDeskplan({"/AUTOLOAD"}, std::chrono::seconds(280));
  ASSERT_FALSE(load.result.timedOut);
  ASSERT_EQ(load.result.exitCode, 0);
  ExpectSamePositions(shell.Items(), saved);

  char line[160];
  std::snprintf(line, sizeof line, "32-bit Deskplan, %d-bit desktop, 1000 icons: /AUTOSAVE %.3f s, /AUTOLOAD %.3f s",
                shellBits, save.seconds, load.seconds);
  ReportTiming(line);
  EXPECT_EQ(shell.Quit(), 0);
}

}  // namespace
}  // namespace e2e
