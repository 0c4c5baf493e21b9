// What kernel32's file functions and the shell's documents folder do, pinned
// against the real system: the same tests run natively against winsim and
// under wine64. The files are made in the documents folder and removed.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "deskplan/app/export_text.h"

namespace {

std::string DocumentsFolder() {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list)) || !list) return std::string();
  char path[MAX_PATH] = {};
  BOOL found = SHGetPathFromIDListA(list, path);
  LPMALLOC allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator))) {
    allocator->Free(list);
    allocator->Release();
  }
  return found ? std::string(path) : std::string();
}

HANDLE Open(const std::string &path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(const std::string &path) {
  HANDLE file = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  std::string text;
  char buffer[64];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

bool Write(HANDLE file, const std::string &text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

class FilesContract : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string documents = DocumentsFolder();
    ASSERT_FALSE(documents.empty());
    folder_ = StripTrailingBackslashes(documents);
  }
  void TearDown() override {
    DeleteFileA(Path("ContractFiles_a.reg").c_str());
    DeleteFileA(Path("ContractFiles_b.reg").c_str());
  }
  std::string Path(const std::string &name) const { return folder_ + "\\" + name; }

  std::string folder_;
};

TEST(ShellFoldersContract, TheDocumentsFolderIsAFileSystemFolderWithADrive) {
  LPITEMIDLIST list = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list), S_OK);
  ASSERT_NE(list, nullptr);
  char path[MAX_PATH];
  std::memset(path, 'x', sizeof path);
  EXPECT_TRUE(SHGetPathFromIDListA(list, path));
  const std::string folder(path);
  ASSERT_GE(folder.size(), 3u);
  EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
  DWORD attributes = GetFileAttributesA(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << folder;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << folder;
  // Windows ends the path with a backslash only at a drive root, Wine always
  // does: the folder is the same without it (under Wine the name without it
  // is the link to the user's home, a reparse point as well).
  std::printf("documents folder: %s\n", folder.c_str());
  const DWORD stripped = GetFileAttributesA(StripTrailingBackslashes(folder).c_str());
  ASSERT_NE(stripped, INVALID_FILE_ATTRIBUTES) << folder;
  EXPECT_TRUE(stripped & FILE_ATTRIBUTE_DIRECTORY) << folder;

  LPMALLOC allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  ASSERT_NE(allocator, nullptr);
  allocator->Free(list);
  allocator->Release();
}

TEST_F(FilesContract, CreateAlwaysMakesOrEmptiesTheFileAndSaysWhichItDid) {
  HANDLE file = Open(Path("ContractFiles_a.reg"), GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(Write(file, "REGEDIT4\r\n\r\n"));
  EXPECT_TRUE(Write(file, "\xE9\xA0\r\n"));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(ReadAll(Path("ContractFiles_a.reg")), "REGEDIT4\r\n\r\n\xE9\xA0\r\n");

  file = Open(Path("ContractFiles_a.reg"), GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(Write(file, "x"));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(ReadAll(Path("ContractFiles_a.reg")), "x");
}

TEST_F(FilesContract, AFileOpenWithoutDeleteSharingCannotBeDeletedUntilClosed) {
  HANDLE file = Open(Path("ContractFiles_a.reg"), GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA(Path("ContractFiles_a.reg").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // Nor opened again for writing.
  EXPECT_EQ(Open(Path("ContractFiles_a.reg"), GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(CloseHandle(file));

  EXPECT_TRUE(DeleteFileA(Path("ContractFiles_a.reg").c_str()));
  EXPECT_EQ(GetFileAttributesA(Path("ContractFiles_a.reg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(DeleteFileA(Path("ContractFiles_a.reg").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FilesContract, PathsAndAccessThatDoNotServe) {
  EXPECT_EQ(Open(Path("ContractFilesAbsent\\a.reg"), GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Open(Path("ContractFiles_b.reg"), GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE file = Open(Path("ContractFiles_b.reg"), GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  // Names are found without regard to case.
  EXPECT_EQ(ReadAll(Path("CONTRACTFILES_B.REG")), "");
  file = Open(Path("ContractFiles_b.reg"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Write(file, "x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(file);
}

}  // namespace
