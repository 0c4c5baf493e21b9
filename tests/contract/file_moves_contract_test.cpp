// What the export relies on to put its file in place, pinned against the real
// system: a temporary name made beside the target, the replacing move, and
// the plain move that never replaces. Files are made in the documents folder
// and removed.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "deskplan/app/export_text.h"

namespace {

std::string Documents() {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list)) || !list) return std::string();
  char path[MAX_PATH] = {};
  SHGetPathFromIDListA(list, path);
  LPMALLOC allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator))) {
    allocator->Free(list);
    allocator->Release();
  }
  return StripTrailingBackslashes(path);
}

bool WriteText(const std::string &path, const std::string &text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
  CloseHandle(file);
  return done && written == text.size();
}

std::string ReadText(const std::string &path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  char buffer[256];
  DWORD read = 0;
  std::string text;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

std::string Lower(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

class FileMovesContract : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = Documents();
    ASSERT_FALSE(folder_.empty());
  }
  void TearDown() override {
    for (const std::string &path : {Path("ContractMove_a.reg"), Path("ContractMove_b.reg"), temporary_})
      if (!path.empty()) DeleteFileA(path.c_str());
  }
  std::string Path(const std::string &name) const { return folder_ + "\\" + name; }

  std::string folder_;
  std::string temporary_;
};

TEST_F(FileMovesContract, ATemporaryNameIsAnEmptyNewFileInTheFolderGiven) {
  char name[MAX_PATH] = {};
  ASSERT_NE(GetTempFileNameA((folder_ + "\\").c_str(), "Dsk", 0, name), 0u);
  temporary_ = name;
  const std::string start = Lower(folder_ + "\\dsk");
  EXPECT_EQ(Lower(temporary_).compare(0, start.size(), start), 0) << temporary_;
  EXPECT_EQ(Lower(temporary_).substr(temporary_.size() - 4), ".tmp") << temporary_;
  EXPECT_EQ(ReadText(temporary_), "");
  char second[MAX_PATH] = {};
  ASSERT_NE(GetTempFileNameA(folder_.c_str(), "Dsk", 0, second), 0u) << "a folder without its backslash";
  EXPECT_NE(Lower(second), Lower(temporary_));
  EXPECT_TRUE(DeleteFileA(second));
  EXPECT_EQ(GetTempFileNameA((folder_ + "\\Absent\\").c_str(), "Dsk", 0, second), 0u);
}

TEST_F(FileMovesContract, TheReplacingMoveReplacesAndThePlainMoveRefuses) {
  ASSERT_TRUE(WriteText(Path("ContractMove_a.reg"), "neuf"));
  ASSERT_TRUE(WriteText(Path("ContractMove_b.reg"), "ancien"));
  EXPECT_FALSE(MoveFileA(Path("ContractMove_a.reg").c_str(), Path("ContractMove_b.reg").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(MoveFileExA(Path("ContractMove_a.reg").c_str(), Path("ContractMove_b.reg").c_str(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(ReadText(Path("ContractMove_b.reg")), "ancien");

  EXPECT_TRUE(MoveFileExA(Path("ContractMove_a.reg").c_str(), Path("ContractMove_b.reg").c_str(),
                          MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(ReadText(Path("ContractMove_b.reg")), "neuf");
  EXPECT_EQ(ReadText(Path("ContractMove_a.reg")), "<none>");

  // A move of nothing, and a plain move to a free name.
  EXPECT_FALSE(MoveFileExA(Path("ContractMove_a.reg").c_str(), Path("ContractMove_b.reg").c_str(),
                           MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(MoveFileA(Path("ContractMove_b.reg").c_str(), Path("ContractMove_a.reg").c_str()));
  EXPECT_EQ(ReadText(Path("ContractMove_a.reg")), "neuf");
}

}  // namespace
