#include <gtest/gtest.h>

#include <cstring>

#include "winsim/machine.h"
#include "winsim/processes.h"

namespace {

class SharedMemory : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

HANDLE CreateArea(const char *name) {
  return CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 309, name);
}

TEST_F(SharedMemory, ANamedAreaIsOneMemoryForEveryOpener) {
  HANDLE first = CreateArea("Deskplan");
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
  HANDLE second = CreateArea("Deskplan");
  EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
  auto *view = static_cast<char *>(MapViewOfFile(first, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(nullptr, view);
  std::strcpy(view, "Poste de travail");
  std::size_t size = 0;
  unsigned char *other = winsim::NamedSharedArea("Deskplan", &size);
  ASSERT_NE(nullptr, other);
  EXPECT_EQ(309u, size);
  EXPECT_STREQ("Poste de travail", reinterpret_cast<char *>(other));
  EXPECT_EQ(1, winsim::LiveMappedViews());
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_EQ(0, winsim::LiveMappedViews());
  CloseHandle(first);
  CloseHandle(second);
  EXPECT_EQ(0, winsim::OpenHandleCount());
  EXPECT_EQ(nullptr, winsim::NamedSharedArea("Deskplan"));
}

TEST_F(SharedMemory, OnWindows9xTheShellSeesAViewAtTheSameAddress) {
  DWORD shell = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native32);
  HANDLE mapping = CreateArea("Deskplan");
  auto *view = static_cast<char *>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(nullptr, view);
  auto address = reinterpret_cast<std::uintptr_t>(view);
  EXPECT_LT(address, 0x100000000u);  // 32-bit processes can name it
  std::strcpy(view, "Corbeille");
  char seen[16] = {};

  winsim::SetOsVersion(winsim::WindowsNT4());
  EXPECT_FALSE(winsim::ReadProcessBytes(shell, address, seen, 10));

  winsim::SetOsVersion(winsim::Windows98());
  ASSERT_TRUE(winsim::ReadProcessBytes(shell, address, seen, 10));
  EXPECT_STREQ("Corbeille", seen);
  EXPECT_FALSE(winsim::ReadProcessBytes(shell, address + 300, seen, 10));  // past the area's end

  UnmapViewOfFile(view);
  CloseHandle(mapping);
}

TEST_F(SharedMemory, FailuresReportWindowsCodes) {
  winsim::FailNext("CreateFileMappingA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(nullptr, CreateArea("Deskplan"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_EQ(nullptr, MapViewOfFile(nullptr, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
  EXPECT_EQ(0, winsim::OpenHandleCount());
}

}  // namespace
