#include <gtest/gtest.h>

#include <cstring>

#include "optional_functions.h"
#include "winsim/machine.h"
#include "winsim/processes.h"
#include "winsim/trace.h"

namespace {

const DWORD kAllAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;

class ProcessMemory : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

TEST_F(ProcessMemory, OpenProcessFailsAsWindowsDoes) {
  DWORD shell = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  EXPECT_EQ(nullptr, OpenProcess(kAllAccess, FALSE, 4242));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

  winsim::FailNext("OpenProcess", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(nullptr, OpenProcess(kAllAccess, FALSE, shell));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());

  winsim::RefuseOpenProcess(shell);
  EXPECT_EQ(nullptr, OpenProcess(kAllAccess, FALSE, shell));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_EQ(0, winsim::OpenHandleCount());
}

TEST_F(ProcessMemory, RemoteBlocksLieWhereTheProcessCanReachThem) {
  for (auto kind : {winsim::ProcessKind::Native32, winsim::ProcessKind::Wow64, winsim::ProcessKind::Native64}) {
    DWORD id = winsim::AddProcess("explorer.exe", kind);
    HANDLE process = OpenProcess(kAllAccess, FALSE, id);
    ASSERT_NE(nullptr, process);
    auto address = reinterpret_cast<std::uintptr_t>(AllocIn(process, 8192));
    ASSERT_NE(0u, address);
    EXPECT_EQ(kind == winsim::ProcessKind::Native64, address > 0xFFFFFFFFu);
    EXPECT_EQ(1, winsim::LiveRemoteAllocations());
    EXPECT_TRUE(FreeIn(process, reinterpret_cast<LPVOID>(address)));
    EXPECT_EQ(0, winsim::LiveRemoteAllocations());
    EXPECT_FALSE(FreeIn(process, reinterpret_cast<LPVOID>(address)));
    CloseHandle(process);
  }
  EXPECT_EQ(0, winsim::OpenHandleCount());
}

TEST_F(ProcessMemory, CopiesGoToTheOtherProcessAndStayInsideItsBlocks) {
  DWORD id = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Wow64);
  HANDLE process = OpenProcess(kAllAccess, FALSE, id);
  LPVOID remote = AllocIn(process, 100);
  const char text[] = "Corbeille";
  SIZE_T copied = 0;
  ASSERT_TRUE(WriteProcessMemory(process, remote, text, sizeof text, &copied));
  EXPECT_EQ(sizeof text, copied);
  char seen[sizeof text] = {};
  ASSERT_TRUE(winsim::ReadProcessBytes(id, reinterpret_cast<std::uintptr_t>(remote), seen, sizeof seen));
  EXPECT_STREQ(text, seen);

  char back[sizeof text] = {};
  ASSERT_TRUE(ReadProcessMemory(process, remote, back, sizeof back, &copied));
  EXPECT_STREQ(text, back);

  // A range running past the block is a partial copy; nothing is reported as copied.
  char large[200];
  EXPECT_FALSE(ReadProcessMemory(process, remote, large, sizeof large, &copied));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PARTIAL_COPY), GetLastError());
  EXPECT_EQ(0u, copied);

  winsim::FailNext("WriteProcessMemory", ERROR_NOACCESS);
  EXPECT_FALSE(WriteProcessMemory(process, remote, text, sizeof text, &copied));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NOACCESS), GetLastError());
  FreeIn(process, remote);
  CloseHandle(process);
}

TEST_F(ProcessMemory, EachCallNeedsItsAccessRight) {
  DWORD id = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  HANDLE readOnly = OpenProcess(PROCESS_VM_READ, FALSE, id);
  EXPECT_EQ(nullptr, AllocIn(readOnly, 64));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  BOOL wow64 = TRUE;
  EXPECT_FALSE(Kernel32Function<IsWow64ProcessFn>("IsWow64Process")(readOnly, &wow64));
  std::uint64_t own = winsim::AllocateInProcess(id, 16);
  char byte = 'x';
  EXPECT_FALSE(WriteProcessMemory(readOnly, reinterpret_cast<LPVOID>(own), &byte, 1, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_TRUE(ReadProcessMemory(readOnly, reinterpret_cast<LPCVOID>(own), &byte, 1, nullptr));
  CloseHandle(readOnly);
}

TEST_F(ProcessMemory, IsWow64ProcessTellsEachKind) {
  auto isWow64 = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
  ASSERT_NE(nullptr, isWow64);
  auto wow64Of = [&](winsim::ProcessKind kind) {
    HANDLE process = OpenProcess(kAllAccess, FALSE, winsim::AddProcess("explorer.exe", kind));
    BOOL flag = 2;
    EXPECT_TRUE(isWow64(process, &flag));
    CloseHandle(process);
    return flag;
  };
  EXPECT_EQ(FALSE, wow64Of(winsim::ProcessKind::Native32));
  EXPECT_EQ(TRUE, wow64Of(winsim::ProcessKind::Wow64));
  EXPECT_EQ(FALSE, wow64Of(winsim::ProcessKind::Native64));

  BOOL flag = TRUE;
  EXPECT_TRUE(isWow64(GetCurrentProcess(), &flag));
  EXPECT_EQ(FALSE, flag);
  winsim::SetProgramProcessKind(winsim::ProcessKind::Wow64);
  EXPECT_TRUE(isWow64(GetCurrentProcess(), &flag));
  EXPECT_EQ(TRUE, flag);

  winsim::RemoveExport("kernel32.dll", "IsWow64Process");
  EXPECT_EQ(nullptr, Kernel32Function<IsWow64ProcessFn>("IsWow64Process"));
}

TEST_F(ProcessMemory, LocalBlocksAreZeroedAndTracked) {
  auto *block = static_cast<unsigned char *>(VirtualAlloc(nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(0, block[0] | block[8191]);
  EXPECT_EQ(1, winsim::LiveVirtualAllocations());
  EXPECT_FALSE(VirtualFree(block, 8192, MEM_RELEASE));  // releasing needs size 0
  EXPECT_TRUE(VirtualFree(block, 0, MEM_RELEASE));
  EXPECT_EQ(0, winsim::LiveVirtualAllocations());
}

}  // namespace
