// The simulated shell's documents folder and its allocator's bookkeeping.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "winsim/machine.h"
#include "winsim/shell_folders.h"
#include "winsim/trace.h"

namespace {

class ShellFolders : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

TEST_F(ShellFolders, TheDocumentsFolderAsSetAndTheListsFreedThroughTheAllocator) {
  winsim::SetDocumentsFolder("D:\\");
  LPITEMIDLIST list = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list), S_OK);
  EXPECT_EQ(winsim::LiveIdLists(), 1);
  char path[MAX_PATH] = "x";
  EXPECT_TRUE(SHGetPathFromIDListA(list, path));
  EXPECT_STREQ(path, "D:\\");

  LPMALLOC allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  EXPECT_EQ(winsim::ShellAllocatorReferences(), 1);
  allocator->Free(list);
  EXPECT_EQ(winsim::LiveIdLists(), 0);
  allocator->Free(list);
  EXPECT_EQ(winsim::BadShellFrees(), 1) << "a second free is seen";
  allocator->Release();
  EXPECT_EQ(winsim::ShellAllocatorReferences(), 0);
  EXPECT_FALSE(SHGetPathFromIDListA(list, path)) << "a freed list names nothing";
  EXPECT_STREQ(path, "");
}

TEST_F(ShellFolders, FailuresLeaveNoListAndAnEmptyPath) {
  LPITEMIDLIST list = reinterpret_cast<LPITEMIDLIST>(1);
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x7F, &list), E_INVALIDARG);
  EXPECT_EQ(list, nullptr);
  winsim::FailNext("SHGetSpecialFolderLocation", static_cast<unsigned>(E_FAIL));
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list), E_FAIL);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(winsim::LiveIdLists(), 0);

  winsim::SetDocumentsFolder("");
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list), S_OK);
  char path[MAX_PATH] = "x";
  EXPECT_FALSE(SHGetPathFromIDListA(list, path));
  EXPECT_STREQ(path, "");
}

}  // namespace
