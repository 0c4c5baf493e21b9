// Registry behaviour where Wine departs from Windows, so the contract tests
// cannot pin it: winsim follows Windows.
#include "registry_test_support.h"

namespace {

using KeySemantics = RegistryTest;

TEST_F(KeySemantics, ValuesEnumerateInCreationOrderAndKeepTheirPlaceWhenRewritten) {
  HKEY key = Create("Software\\Order");
  for (const char *name : {"zeta", "Alpha", "mid"}) ASSERT_EQ(ERROR_SUCCESS, SetDword(key, name, 1));
  ASSERT_EQ(ERROR_SUCCESS, SetDword(key, "ZETA", 2));
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "alpha"));
  ASSERT_EQ(ERROR_SUCCESS, SetDword(key, "Alpha", 3));
  EXPECT_EQ((std::vector<std::string>{"zeta", "mid", "Alpha"}), EnumeratedValues(key));
  RegCloseKey(key);
}

TEST_F(KeySemantics, SubkeysSortByUpperCaseSoUnderscoreFollowsLetters) {
  HKEY key = Create("Software\\Sorted");
  // Windows-1252 letters fold too: "\xE9" (e acute) sorts as "\xC9", after "Z".
  for (const char *name : {"a_b", "aZ", "\xE9t\xE9", "Zoo", "ALPHA", "\x9C" "uvre", "\x8C" "x"}) {
    HKEY child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(key, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &child, nullptr));
    RegCloseKey(child);
  }
  // "\x9C" (oe) is U+0153 and folds to U+0152 like "\x8C" (OE): both sort
  // after every Latin-1 letter, and by what follows between themselves.
  EXPECT_EQ((std::vector<std::string>{"ALPHA", "aZ", "a_b", "Zoo", "\xE9t\xE9", "\x9C" "uvre", "\x8C" "x"}),
            EnumeratedSubkeys(key));
  RegCloseKey(key);
}

TEST_F(KeySemantics, QueryInfoNeedsQueryValueRight) {
  // Windows asks KEY_QUERY_VALUE of RegQueryInfoKeyA; Wine does not check.
  HKEY key = Create("Software\\Info", KEY_SET_VALUE);
  DWORD values = 0;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                                  nullptr, nullptr, nullptr, nullptr));
  RegCloseKey(key);
}

TEST_F(KeySemantics, EveryCallThroughADeletedKeyAnswersKeyDeleted) {
  HKEY key = Create("Software\\Doomed");
  ASSERT_TRUE(winsim::DeleteRegistryKey(HKEY_CURRENT_USER, "Software\\Doomed"));
  HKEY child = nullptr;
  EXPECT_EQ(ERROR_KEY_DELETED, RegOpenKeyExA(key, "", 0, KEY_READ, &child));
  EXPECT_EQ(ERROR_KEY_DELETED,
            RegCreateKeyExA(key, "x", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &child, nullptr));
  EXPECT_EQ(nullptr, child);
  char name[8];
  DWORD length = sizeof name;
  EXPECT_EQ(ERROR_KEY_DELETED, RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_KEY_DELETED, RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_KEY_DELETED, RegDeleteValueA(key, "v"));
  EXPECT_EQ(ERROR_KEY_DELETED, RegDeleteKeyA(key, ""));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Doomed"));
}

TEST_F(KeySemantics, RootsCannotBeDeletedAndClosingThemDoesNothing) {
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_USERS, ""));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
  HKEY key = Open("Software", KEY_READ);
  EXPECT_NE(nullptr, key);
  RegCloseKey(key);
}

TEST_F(KeySemantics, RootsAreSeparateTrees) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Machine");
  Open("Software\\Machine", KEY_READ, ERROR_FILE_NOT_FOUND);
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\machine", 0, KEY_READ, &key));
  RegCloseKey(key);
}

TEST_F(KeySemantics, DeleteKeyExIsReachedOnlyByNameAndDeletesLikeDeleteKey) {
  using DeleteKeyExFn = LSTATUS(WINAPI *)(HKEY, LPCSTR, REGSAM, DWORD);
  auto deleteKeyEx = reinterpret_cast<DeleteKeyExFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA")));
  ASSERT_NE(nullptr, deleteKeyEx);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\View\\Child");
  EXPECT_EQ(ERROR_ACCESS_DENIED, deleteKeyEx(HKEY_CURRENT_USER, "Software\\View", KEY_WOW64_64KEY, 0));
  EXPECT_EQ(ERROR_SUCCESS, deleteKeyEx(HKEY_CURRENT_USER, "Software\\View\\Child", KEY_WOW64_64KEY, 0));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, deleteKeyEx(HKEY_CURRENT_USER, "Software\\View\\Child", KEY_WOW64_64KEY, 0));
  ASSERT_EQ(3u, winsim::CountCalls("RegDeleteKeyExA"));
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\View\\Child|0x100", winsim::CallsTo("RegDeleteKeyExA")[1].detail);

  winsim::RemoveExport("advapi32.dll", "RegDeleteKeyExA");
  EXPECT_EQ(nullptr, GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA"));
}

}  // namespace
