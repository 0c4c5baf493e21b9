#include <gtest/gtest.h>

#include "deskplan/view/virtalloc.h"
#include "winsim/machine.h"
#include "winsim/processes.h"
#include "winsim/trace.h"

namespace {

class Virtalloc : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    ResetRemoteMemoryFunctions();
  }
};

TEST_F(Virtalloc, LoadsBothFunctionsAndFreesTheModule) {
  EXPECT_TRUE(LoadRemoteMemoryFunctions());
  EXPECT_NE(nullptr, VirtualAllocExProc);
  EXPECT_NE(nullptr, VirtualFreeExProc);
  EXPECT_EQ(1u, winsim::CountCalls("FreeLibrary"));
  EXPECT_EQ(0, winsim::LoadedLibraryReferences());
}

TEST_F(Virtalloc, EitherFunctionMissingAnswersFalse) {
  winsim::RemoveExport("kernel32.dll", "VirtualFreeEx");
  EXPECT_FALSE(LoadRemoteMemoryFunctions());
  winsim::Reset();
  winsim::RemoveExport("kernel32.dll", "VirtualAllocEx");
  EXPECT_FALSE(LoadRemoteMemoryFunctions());
  EXPECT_EQ(0, winsim::LoadedLibraryReferences());
}

TEST_F(Virtalloc, AModuleHandleOf32OrLessIsAFailure) {
  winsim::SetLoadLibraryResult("kernel32.dll", 32);
  EXPECT_FALSE(LoadRemoteMemoryFunctions());
  EXPECT_EQ(0u, winsim::CountCalls("FreeLibrary"));
}

TEST_F(Virtalloc, Wow64AnswersTrueOnlyForAWow64Process) {
  EXPECT_FALSE(IsProcessWow64(GetCurrentProcess()));
  winsim::SetProgramProcessKind(winsim::ProcessKind::Wow64);
  EXPECT_TRUE(IsProcessWow64(GetCurrentProcess()));
  winsim::FailNext("IsWow64Process", ERROR_INVALID_HANDLE);
  EXPECT_FALSE(IsProcessWow64(GetCurrentProcess()));
  // The address is looked up once and kept.
  EXPECT_EQ(1u, winsim::CountCalls("GetProcAddress"));
}

TEST_F(Virtalloc, AMissingIsWow64ProcessIsLookedForAgain) {
  winsim::SetProgramProcessKind(winsim::ProcessKind::Wow64);
  winsim::RemoveExport("kernel32.dll", "IsWow64Process");
  EXPECT_FALSE(IsProcessWow64(GetCurrentProcess()));
  EXPECT_FALSE(IsProcessWow64(GetCurrentProcess()));
  EXPECT_EQ(2u, winsim::CountCalls("GetProcAddress"));
}

}  // namespace
