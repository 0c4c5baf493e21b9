// How each registration of an end-to-end suite finds the programs of its build
// and its test desktop (DESKPLAN_E2E_BUILD, set by CTest). No Wine needed.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "wine_session.h"

namespace e2e {
namespace {

class BuildSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"DESKPLAN_E2E_BUILD", "DESKPLAN_E2E_BIN", "DESKPLAN_E2E_SHELL_BIN", "DESKPLAN_WIN64_BIN"})
      unsetenv(name);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(BuildSelectionTest, EachBuildRunsItsOwnProgramsAgainstItsTestDesktop) {
  const std::string win32 = BuildBinDir("win32");
  const std::string win64 = BuildBinDir("win64");
  ASSERT_NE(win32, win64);

  EXPECT_EQ(BuildUnderTest(), "win64") << "no build named: the win64 one, as before";
  EXPECT_EQ(BinDir(), win64);
  EXPECT_EQ(ShellBinDir(), win64);

  setenv("DESKPLAN_E2E_BUILD", "win64", 1);
  EXPECT_EQ(BuildUnderTest(), "win64");
  EXPECT_EQ(ProgramPath("Deskplan.exe"), win64 + "/Deskplan.exe");
  EXPECT_EQ(ShellProgramPath("testshell.exe"), win64 + "/testshell.exe");

  // The shipped programs on 64-bit Windows: 32-bit programs, 64-bit shell.
  setenv("DESKPLAN_E2E_BUILD", "win32", 1);
  EXPECT_EQ(BuildUnderTest(), "win32");
  EXPECT_EQ(ShellBuild(), "win64");
  EXPECT_EQ(ProgramPath("Deskplan.exe"), win32 + "/Deskplan.exe");
  EXPECT_EQ(Win64Program("Deskplan.exe"), win32 + "/Deskplan.exe") << "the older name follows the build";
  EXPECT_EQ(ShellProgramPath("testshell.exe"), win64 + "/testshell.exe");

  // ... and against a WOW64 shell.
  setenv("DESKPLAN_E2E_BUILD", "win32-shell32", 1);
  EXPECT_EQ(BuildUnderTest(), "win32");
  EXPECT_EQ(ShellBuild(), "win32");
  EXPECT_EQ(ProgramPath("Deskplan.exe"), win32 + "/Deskplan.exe");
  EXPECT_EQ(ShellProgramPath("testshell.exe"), win32 + "/testshell.exe");
}

TEST_F(BuildSelectionTest, FoldersGivenByHandWin) {
  setenv("DESKPLAN_E2E_BUILD", "win32", 1);
  setenv("DESKPLAN_E2E_BIN", "/elsewhere/bin", 1);
  setenv("DESKPLAN_E2E_SHELL_BIN", "/shell/bin", 1);
  EXPECT_EQ(ProgramPath("Cleanslate.exe"), "/elsewhere/bin/Cleanslate.exe");
  EXPECT_EQ(ShellProgramPath("testshell.exe"), "/shell/bin/testshell.exe");
}

TEST_F(BuildSelectionTest, ProgramsAreStartedWithTheSessionsWineCommand) {
  setenv("DESKPLAN_WINE", "/usr/bin/wine", 1);
  const std::vector<std::string> expected = {"/usr/bin/wine", "/x/Deskplan.exe", "/AUTOSAVE"};
  EXPECT_EQ(WineCommand("/x/Deskplan.exe", {"/AUTOSAVE"}), expected);
  unsetenv("DESKPLAN_WINE");
  EXPECT_FALSE(WineSessionActive()) << "no Wine command, no session";
}

}  // namespace
}  // namespace e2e
