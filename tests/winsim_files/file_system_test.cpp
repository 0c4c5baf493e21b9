// The simulated file system: Windows paths on drive folders, Windows errors.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include <windows.h>

#include "winsim/files.h"
#include "winsim/machine.h"
#include "winsim/trace.h"

namespace {

class FileSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    std::string pattern = (std::filesystem::temp_directory_path() / "winsim-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    drive_ = pattern;
    std::filesystem::create_directories(drive_ + "/Users/Marie");
    winsim::MapDrive('e', drive_);
  }
  void TearDown() override { std::filesystem::remove_all(drive_); }
  std::string drive_;
};

TEST_F(FileSystem, PathsMapOntoTheDriveFolderFindingNamesInAnyCase) {
  EXPECT_EQ(winsim::HostPath("E:\\Users\\Marie\\a.reg"), drive_ + "/Users/Marie/a.reg");
  EXPECT_EQ(winsim::HostPath("e:/USERS/marie//./x\\..\\a.reg"), drive_ + "/Users/Marie/a.reg");
  EXPECT_EQ(winsim::HostPath("E:\\"), drive_);
  EXPECT_EQ(winsim::HostPath("Q:\\a.reg"), "") << "no such drive";
  EXPECT_EQ(winsim::HostPath("E:\\a?.reg"), "");
  EXPECT_EQ(winsim::HostPath("\\\\server\\share\\a.reg"), "");
}

TEST_F(FileSystem, ARootedPathIsOnDriveC) {
  winsim::MapDrive('C', drive_);
  EXPECT_EQ(winsim::HostPath("\\Users\\a.reg"), drive_ + "/Users/a.reg");
  HANDLE file = CreateFileA("\\Users\\a.reg", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(winsim::OpenFileCount(), 1);
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(winsim::OpenFileCount(), 0);
  EXPECT_TRUE(std::filesystem::exists(drive_ + "/Users/a.reg"));
}

TEST_F(FileSystem, WindowsErrorsForBadNamesAndDispositions) {
  struct Case {
    const char *path;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {"E:\\Users\\Marie\\a<b.reg", CREATE_ALWAYS, ERROR_INVALID_NAME},
      {"Q:\\a.reg", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"E:\\Users\\Paul\\a.reg", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"E:\\Users\\Marie\\absent.reg", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"E:\\Users\\Marie", CREATE_ALWAYS, ERROR_ACCESS_DENIED},
      {"E:\\Users\\Marie\\a.reg", 9, ERROR_INVALID_PARAMETER},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CreateFileA(c.path, GENERIC_WRITE, 0, nullptr, c.disposition, 0, nullptr), INVALID_HANDLE_VALUE)
        << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  std::ofstream(drive_ + "/Users/Marie/old.reg") << "x";
  EXPECT_EQ(CreateFileA("E:\\Users\\Marie\\OLD.REG", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
}

TEST_F(FileSystem, InjectedFaultsAndHandlesOfOtherKinds) {
  winsim::FailNext("CreateFileA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(CreateFileA("E:\\a.reg", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(std::filesystem::exists(drive_ + "/a.reg"));

  HANDLE file = CreateFileA("E:\\a.reg", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 99;
  winsim::FailNext("WriteFile", ERROR_DISK_FULL);
  EXPECT_FALSE(WriteFile(file, "abc", 3, &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(written, 0u);
  EXPECT_TRUE(WriteFile(file, "abc", 3, &written, nullptr));
  EXPECT_EQ(written, 3u);
  EXPECT_FALSE(WriteFile(reinterpret_cast<HANDLE>(0x4444), "abc", 3, &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  winsim::FailNext("DeleteFileA", ERROR_ACCESS_DENIED);
  CloseHandle(file);
  EXPECT_FALSE(DeleteFileA("E:\\a.reg"));
  EXPECT_EQ(std::filesystem::file_size(drive_ + "/a.reg"), 3u);
  EXPECT_TRUE(DeleteFileA("E:\\a.reg"));
}

}  // namespace
