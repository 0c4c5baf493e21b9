// Ending the shell: every process of the name in the caller's session, exit
// code 4, and true only when all of them ended.
#include "cleanslate/shell_termination.h"

#include "reset_world.h"

namespace {

class ShellTerminationTest : public ResetWorld {
 protected:
  void SetUp() override {
    ResetWorld::SetUp();
    ForgetProcessFunctions();
  }
};

TEST_F(ShellTerminationTest, EveryShellOfTheNameInAnyLetterCaseEndsWithCode4) {
  DWORD shell = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  DWORD other = winsim::AddProcess("notepad.exe", winsim::ProcessKind::Native64);
  DWORD upper = winsim::AddProcess("EXPLORER.EXE", winsim::ProcessKind::Native64);
  EXPECT_TRUE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(4u, winsim::ProcessExitCode(shell).value_or(0));
  EXPECT_EQ(4u, winsim::ProcessExitCode(upper).value_or(0));
  EXPECT_FALSE(winsim::ProcessExitCode(other).has_value());
  EXPECT_EQ((std::vector<std::string>{std::to_string(shell) + "|1", std::to_string(upper) + "|1"}),
            Details("OpenProcess"));
  EXPECT_EQ("15|0", Details("CreateToolhelp32Snapshot").at(0));
}

TEST_F(ShellTerminationTest, OnlyLettersAToZIgnoreCaseAndLengthsMustMatch) {
  DWORD accented = winsim::AddProcess("explorér.exe", winsim::ProcessKind::Native64);
  DWORD longer = winsim::AddProcess("explorer.exe2", winsim::ProcessKind::Native64);
  DWORD shorter = winsim::AddProcess("explorer.ex", winsim::ProcessKind::Native64);
  EXPECT_FALSE(TerminateProcessByName("EXPLORÉR.EXE"));
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  for (DWORD id : {accented, longer, shorter}) EXPECT_FALSE(winsim::ProcessExitCode(id).has_value());
}

TEST_F(ShellTerminationTest, NoMatchEndsNothingAndAnswersFalse) {
  winsim::AddProcess("notepad.exe", winsim::ProcessKind::Native64);
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(0u, winsim::CountCalls("TerminateProcess"));
}

TEST_F(ShellTerminationTest, AShellThatCannotBeEndedMakesTheAnswerFalseButTheOthersStillEnd) {
  DWORD refused = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  DWORD shell = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::RefuseOpenProcess(refused);
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(4u, winsim::ProcessExitCode(shell).value_or(0));

  winsim::Reset();
  ForgetProcessFunctions();
  winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::FailNext("TerminateProcess", ERROR_ACCESS_DENIED);
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
}

TEST_F(ShellTerminationTest, ShellsOfOtherSessionsAreLeftAlone) {
  DWORD mine = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  DWORD theirs = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::SetProgramSession(2);
  winsim::SetProcessSession(mine, 2);
  winsim::SetProcessSession(theirs, 3);
  EXPECT_TRUE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(4u, winsim::ProcessExitCode(mine).value_or(0));
  EXPECT_FALSE(winsim::ProcessExitCode(theirs).has_value());
}

TEST_F(ShellTerminationTest, OnlyAnotherSessionsShellMeansNoShellEnded) {
  DWORD theirs = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::SetProcessSession(theirs, 3);
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_FALSE(winsim::ProcessExitCode(theirs).has_value());
}

TEST_F(ShellTerminationTest, WithoutSessionsEveryShellOfTheNameEnds) {
  DWORD theirs = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::SetProcessSession(theirs, 3);
  winsim::RemoveExport("kernel32.dll", "ProcessIdToSessionId");
  EXPECT_TRUE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(4u, winsim::ProcessExitCode(theirs).value_or(0));
}

TEST_F(ShellTerminationTest, WithoutToolhelpNothingIsFoundAndTheFunctionsAreLookedUpOnce) {
  winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::RemoveExport("kernel32.dll", "Process32Next");
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(0u, winsim::CountCalls("CreateToolhelp32Snapshot"));
  EXPECT_EQ(4u, winsim::CountCalls("GetProcAddress"));
}

TEST_F(ShellTerminationTest, AFailedSnapshotFindsNothing) {
  winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  winsim::FailNext("CreateToolhelp32Snapshot", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(0u, winsim::CountCalls("OpenProcess"));
}

}  // namespace
