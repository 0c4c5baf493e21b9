// Registry links and process snapshots as the reset meets them, pinned against
// the real system: a link leads every open to its target unless the last key
// is opened with REG_OPTION_OPEN_LINK, and only NtDeleteKey on such a handle
// removes the link itself.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kScratch[] = "Software\\Ostrafen\\ContractTests\\Links";
const char kTarget[] = "Software\\Ostrafen\\ContractLinkTarget";
const char kTargetNative[] = "\\REGISTRY\\MACHINE\\Software\\Ostrafen\\ContractLinkTarget";
// The link names the target's native path, which is the 64-bit view's: a
// 32-bit process reaches it there (its own view of HKLM\Software is another key).
const REGSAM kTargetView = KEY_WOW64_64KEY;

using NtDeleteKeyFn = LONG(WINAPI *)(HANDLE);

NtDeleteKeyFn NtDeleteKeyFunction() {
  return reinterpret_cast<NtDeleteKeyFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
}

void DeleteLeaf(HKEY root, const std::string &path) { RegDeleteKeyA(root, path.c_str()); }

class RegistryLinksContract : public ::testing::Test {
 protected:
  void SetUp() override {
    Cleanup();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTarget, 0, nullptr, 0,
                                             KEY_ALL_ACCESS | kTargetView, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Keep", 0, REG_SZ, reinterpret_cast<const BYTE *>("yes"), 4));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), 0, nullptr,
                                             REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key,
                                             nullptr));
    std::string wide;
    for (const char *c = kTargetNative; *c; ++c) wide += std::string(1, *c) + '\0';
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "SymbolicLinkValue", 0, REG_LINK,
                                            reinterpret_cast<const BYTE *>(wide.data()),
                                            static_cast<DWORD>(wide.size())));
    RegCloseKey(key);
  }
  void TearDown() override { Cleanup(); }

  static std::string LinkPath() { return std::string(kScratch) + "\\Link"; }

  static void Cleanup() {
    HKEY link = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), REG_OPTION_OPEN_LINK, DELETE, &link) == ERROR_SUCCESS) {
      if (auto ntDeleteKey = NtDeleteKeyFunction()) ntDeleteKey(link);
      RegCloseKey(link);
    }
    DeleteLeaf(HKEY_CURRENT_USER, kScratch);
    DeleteLeaf(HKEY_CURRENT_USER, "Software\\Ostrafen\\ContractTests");
    HKEY target = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTarget, 0, DELETE | kTargetView, &target) == ERROR_SUCCESS) {
      if (auto ntDeleteKey = NtDeleteKeyFunction()) ntDeleteKey(target);
      RegCloseKey(target);
    }
  }

  static bool TargetExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTarget, 0, KEY_READ | kTargetView, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

TEST_F(RegistryLinksContract, AnOpenThroughTheLinkReachesItsTarget) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), 0, KEY_QUERY_VALUE, &key));
  char data[16] = {};
  DWORD size = sizeof data;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Keep", nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size));
  EXPECT_STREQ("yes", data);
  RegCloseKey(key);
}

TEST_F(RegistryLinksContract, OpenLinkOpensTheLinkKeyWithItsRegLinkValue) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key));
  DWORD type = REG_NONE;
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_LINK), type);
  EXPECT_EQ(2 * std::strlen(kTargetNative), size);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "Keep", nullptr, nullptr, nullptr, nullptr));
  RegCloseKey(key);
}

// What the reset's writes rely on: a create with REG_OPTION_OPEN_LINK takes an
// existing link key as it is, and an empty name opens the same key again.
TEST_F(RegistryLinksContract, CreateWithOpenLinkTakesTheLinkKeyAsItIsAndAnEmptyNameReopensIt) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), 0, nullptr, REG_OPTION_OPEN_LINK,
                                           KEY_QUERY_VALUE, nullptr, &key, nullptr));
  HKEY again = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(key, "", REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &again));
  for (HKEY link : {key, again}) {
    DWORD type = REG_NONE;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(link, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_LINK), type);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(link, "Keep", nullptr, nullptr, nullptr, nullptr));
  }
  RegCloseKey(again);
  RegCloseKey(key);
}

TEST_F(RegistryLinksContract, NtDeleteKeyOnTheLinkRemovesTheLinkAndKeepsTheTarget) {
  auto ntDeleteKey = NtDeleteKeyFunction();
  ASSERT_NE(nullptr, ntDeleteKey);
  HKEY link = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), REG_OPTION_OPEN_LINK, DELETE, &link));
  EXPECT_EQ(0, ntDeleteKey(link));
  RegCloseKey(link);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &link));
  EXPECT_TRUE(TargetExists());
}

TEST_F(RegistryLinksContract, RegDeleteKeyThroughTheLinkDeletesTheTargetAndLeavesTheLink) {
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, LinkPath().c_str()));
  EXPECT_FALSE(TargetExists());
  HKEY link = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, LinkPath().c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &link));
  RegCloseKey(link);
}

TEST(ProcessSnapshotContract, TheSnapshotListsThisProcessAndEndsWithNoMoreFiles) {
  HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  using Snapshot = HANDLE(WINAPI *)(DWORD, DWORD);
  using Walk = BOOL(WINAPI *)(HANDLE, LPPROCESSENTRY32);
  auto snapshotOf = reinterpret_cast<Snapshot>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "CreateToolhelp32Snapshot")));
  auto first = reinterpret_cast<Walk>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "Process32First")));
  auto next = reinterpret_cast<Walk>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "Process32Next")));
  ASSERT_TRUE(snapshotOf && first && next);
  HANDLE snapshot = snapshotOf(TH32CS_SNAPALL, 0);
  ASSERT_NE(INVALID_HANDLE_VALUE, snapshot);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  bool foundSelf = false;
  BOOL more = first(snapshot, &entry);
  for (; more; more = next(snapshot, &entry))
    if (entry.th32ProcessID == GetCurrentProcessId()) foundSelf = entry.szExeFile[0] != '\0';
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_FILES), GetLastError());
  EXPECT_TRUE(foundSelf);
  CloseHandle(snapshot);
}

}  // namespace
