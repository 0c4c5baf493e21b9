// What the registry's ANSI functions do, pinned against the real system: the
// same tests run natively against winsim and under wine64. Everything is
// arranged through the API under a scratch key that is removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kScratch[] = "Software\\Ostrafen\\ContractTests\\Registry";

// Deletes a key and everything under it, deepest first.
void DeleteTree(HKEY parent, const std::string &path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (;;) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteTree(key, name);
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, path.c_str());
}

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteTree(HKEY_CURRENT_USER, kScratch);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &scratch_, nullptr));
  }
  void TearDown() override {
    RegCloseKey(scratch_);
    DeleteTree(HKEY_CURRENT_USER, kScratch);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ostrafen\\ContractTests");
  }

  HKEY Create(const std::string &path, DWORD *disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(scratch_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, disposition));
    return key;
  }
  void MakeKey(const std::string &path) { RegCloseKey(Create(path)); }
  void Set(HKEY key, const std::string &name, DWORD type, const std::string &bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type,
                                            reinterpret_cast<const BYTE *>(bytes.data()), static_cast<DWORD>(bytes.size())));
  }
  std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
      char name[256];
      DWORD length = sizeof name;
      LSTATUS status = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status != ERROR_SUCCESS) {
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, status);
        break;
      }
      names.emplace_back(name, length);
    }
    return names;
  }
  std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
      char name[512];
      DWORD length = sizeof name;
      LSTATUS status = RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status != ERROR_SUCCESS) {
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, status);
        break;
      }
      names.emplace_back(name, length);
    }
    return names;
  }

  HKEY scratch_ = nullptr;
};

// Windows sorts by the names' upper case, so "a_b" comes after "aZ" ('_' is
// 0x5F, 'Z' 0x5A); Wine folds to lower case and puts "a_b" first. Names with
// the six characters between 'Z' and 'a' are therefore left out here.
TEST_F(RegistryContract, SubkeysEnumerateSortedWithoutRegardToCase) {
  for (const char *name : {"zeta", "Beta", "\xE9t\xE9", "alpha", "Gamma", "ALPHA2", "b1"}) MakeKey(name);
  EXPECT_EQ((std::vector<std::string>{"alpha", "ALPHA2", "b1", "Beta", "Gamma", "zeta", "\xE9t\xE9"}),
            SubkeyNames(scratch_));
}

TEST_F(RegistryContract, EveryValueIsEnumeratedOnce) {
  // Windows gives creation order, Wine sorts by name: only the set is common.
  for (const char *name : {"c", "A", "b"}) Set(scratch_, name, REG_DWORD, std::string(4, '\0'));
  auto names = ValueNames(scratch_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"A", "b", "c"}), names);
}

TEST_F(RegistryContract, EnumerationNameBuffersCountTheTerminator) {
  MakeKey("Seven77");
  Set(scratch_, "Seven77", REG_BINARY, "xyz");
  char name[16];
  DWORD length = 8;
  EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyExA(scratch_, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(7u, length);
  EXPECT_STREQ("Seven77", name);
  length = 7;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyExA(scratch_, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  length = sizeof name;
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyExA(scratch_, 1, name, &length, nullptr, nullptr, nullptr, nullptr));

  length = 8;
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegEnumValueA(scratch_, 0, name, &length, nullptr, &type, nullptr, &size));
  EXPECT_EQ(7u, length);
  EXPECT_STREQ("Seven77", name);
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(3u, size);
  length = 7;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(scratch_, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  length = sizeof name;
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueA(scratch_, 1, name, &length, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RegistryContract, EnumeratedValueDataTooLargeForItsBufferGivesTheSizeNeeded) {
  Set(scratch_, "data", REG_BINARY, "0123456789");
  char name[16];
  DWORD length = sizeof name;
  BYTE data[4];
  DWORD size = sizeof data;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(scratch_, 0, name, &length, nullptr, nullptr, data, &size));
  EXPECT_EQ(10u, size);
}

TEST_F(RegistryContract, QueryWithoutBufferGivesSizeAndTypeAndTooSmallABufferGivesMoreData) {
  Set(scratch_, "data", REG_BINARY, "0123456789");
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "data", nullptr, &type, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(10u, size);

  BYTE data[16] = {};
  size = 4;
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(scratch_, "data", nullptr, &type, data, &size));
  EXPECT_EQ(10u, size);
  size = 10;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "data", nullptr, &type, data, &size));
  EXPECT_EQ(10u, size);
  EXPECT_EQ("0123456789", std::string(reinterpret_cast<char *>(data), size));
}

TEST_F(RegistryContract, TypesKeepTheirExactSizes) {
  Set(scratch_, "text", REG_SZ, std::string("abc", 4));
  Set(scratch_, "number", REG_DWORD, std::string("\x2A\x00\x00\x00", 4));
  Set(scratch_, "empty", REG_BINARY, "");
  std::string big(255, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i);
  Set(scratch_, "big", REG_BINARY, big);

  BYTE data[300];
  DWORD type = 0, size = sizeof data;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "text", nullptr, &type, data, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(4u, size);
  EXPECT_EQ(std::string("abc", 4), std::string(reinterpret_cast<char *>(data), size));

  size = sizeof data;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "number", nullptr, &type, data, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
  EXPECT_EQ(4u, size);
  EXPECT_EQ(42, data[0]);

  size = sizeof data;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "empty", nullptr, &type, data, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(0u, size);

  size = sizeof data;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "big", nullptr, &type, data, &size));
  EXPECT_EQ(255u, size);
  EXPECT_EQ(big, std::string(reinterpret_cast<char *>(data), size));
  size = 254;
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(scratch_, "big", nullptr, &type, data, &size));
  EXPECT_EQ(255u, size);
}

TEST_F(RegistryContract, NullAndEmptyNamesBothMeanTheDefaultValue) {
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(scratch_, "", nullptr, nullptr, nullptr, &size));
  Set(scratch_, "", REG_BINARY, "xy");
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, nullptr, nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(2u, size);
  EXPECT_EQ((std::vector<std::string>{""}), ValueNames(scratch_));
}

TEST_F(RegistryContract, MissingKeysAndValuesGiveFileNotFound) {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(scratch_, "missing\\deeper", 0, KEY_READ, &key));
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(scratch_, "missing", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(scratch_, "missing"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(scratch_, "missing"));
}

TEST_F(RegistryContract, AKeyWithSubkeysCannotBeDeleted) {
  MakeKey("parent\\child");
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(scratch_, "parent"));
  EXPECT_EQ((std::vector<std::string>{"parent"}), SubkeyNames(scratch_));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch_, "parent\\child"));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch_, "parent"));
  EXPECT_TRUE(SubkeyNames(scratch_).empty());
}

TEST_F(RegistryContract, CreateMakesEveryMissingKeyAndTellsWhetherItDid) {
  DWORD disposition = 0;
  RegCloseKey(Create("one\\two\\three", &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
  RegCloseKey(Create("ONE\\Two", &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch_, "one\\TWO\\three", 0, KEY_READ, &key));
  RegCloseKey(key);
}

TEST_F(RegistryContract, NonAsciiValueNamesKeepTheirBytes) {
  const std::string separated = "T\xA0____\xA0(1)";
  const std::string accented = "D\xE9marrage";
  Set(scratch_, separated, REG_BINARY, "12345678");
  Set(scratch_, accented, REG_DWORD, std::string(4, '\1'));
  auto names = ValueNames(scratch_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{accented, separated}), names);
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, separated.c_str(), nullptr, &type, nullptr, &size));
  EXPECT_EQ(8u, size);
}

TEST_F(RegistryContract, ValueNamesIgnoreCaseAccentedLettersToo) {
  Set(scratch_, "D\xE9marrage", REG_DWORD, std::string("\1\0\0\0", 4));
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "D\xC9MARRAGE", nullptr, &type, nullptr, &size));
  Set(scratch_, "D\xC9MARRAGE", REG_DWORD, std::string("\0\0\0\0", 4));
  EXPECT_EQ(1u, ValueNames(scratch_).size());
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(scratch_, "d\xE9MARRAGE"));
  EXPECT_TRUE(ValueNames(scratch_).empty());
}

TEST_F(RegistryContract, SubkeyNamesIgnoreCaseAccentedLettersToo) {
  MakeKey("\xE9t\xE9");
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch_, "\xC9T\xC9", 0, KEY_READ, &key));
  RegCloseKey(key);
}

TEST_F(RegistryContract, AHandleAllowsOnlyTheRightsItWasOpenedWith) {
  MakeKey("limited");
  Set(scratch_, "v", REG_DWORD, std::string(4, '\0'));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch_, "", 0, KEY_SET_VALUE, &key));
  DWORD size = 0;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size));
  char name[16];
  DWORD length = sizeof name;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch_, "", 0, KEY_QUERY_VALUE, &key));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(key, "v", 0, REG_DWORD, reinterpret_cast<const BYTE *>("\0\0\0\0"), 4));
  RegCloseKey(key);
}

TEST_F(RegistryContract, AHandleToADeletedKeyAnswersKeyDeleted) {
  HKEY doomed = Create("doomed");
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch_, "doomed"));
  DWORD size = 0;
  EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExA(doomed, "v", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_KEY_DELETED,
            RegSetValueExA(doomed, "v", 0, REG_DWORD, reinterpret_cast<const BYTE *>("\0\0\0\0"), 4));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(doomed));
}

TEST_F(RegistryContract, QueryInfoCountsAndLongestLengths) {
  MakeKey("abc");
  MakeKey("abcdefgh");
  Set(scratch_, "n12345", REG_BINARY, "0123456789ABC");
  Set(scratch_, "n1", REG_BINARY, "0");
  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(scratch_, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr,
                                            &values, &maxName, &maxData, nullptr, nullptr));
  EXPECT_EQ(2u, subKeys);
  EXPECT_EQ(8u, maxSubKey);
  EXPECT_EQ(2u, values);
  EXPECT_EQ(6u, maxName);
  EXPECT_EQ(13u, maxData);
}

TEST_F(RegistryContract, PathsMayNotBeginWithABackslashButMayEndWithOne) {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_BAD_PATHNAME, RegCreateKeyExA(scratch_, "\\lead", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                KEY_ALL_ACCESS, nullptr, &key, nullptr));
  EXPECT_EQ(nullptr, key);
  RegCloseKey(Create("trail\\"));
  EXPECT_EQ(ERROR_BAD_PATHNAME, RegOpenKeyExA(scratch_, "\\trail", 0, KEY_READ, &key));
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch_, "trail\\", 0, KEY_READ, &key));
  RegCloseKey(key);
  EXPECT_EQ((std::vector<std::string>{"trail"}), SubkeyNames(scratch_));
}

TEST_F(RegistryContract, ValueNamesReach16383Characters) {
  const std::string longest(16383, 'n');
  Set(scratch_, longest, REG_DWORD, std::string(4, '\0'));
  const std::string tooLong(16384, 'm');
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegSetValueExA(scratch_, tooLong.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>("\0\0\0\0"), 4));
  std::vector<char> name(16384);
  DWORD length = static_cast<DWORD>(name.size());
  ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(scratch_, 0, name.data(), &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(longest, std::string(name.data(), length));
  DWORD maxName = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(scratch_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            &maxName, nullptr, nullptr, nullptr));
  EXPECT_EQ(16383u, maxName);
}

TEST_F(RegistryContract, RewritingAValueKeepsTheSpellingItWasCreatedWith) {
  Set(scratch_, "Abc", REG_DWORD, std::string(4, '\0'));
  Set(scratch_, "ABC", REG_BINARY, "xy");
  EXPECT_EQ((std::vector<std::string>{"Abc"}), ValueNames(scratch_));
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(scratch_, "abc", nullptr, &type, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(2u, size);
}

TEST_F(RegistryContract, UnknownHandlesAreInvalid) {
  DWORD size = 0;
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(nullptr, "v", nullptr, nullptr, nullptr, &size));
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExA(nullptr, "Software", 0, KEY_READ, &key));
}

TEST_F(RegistryContract, ClosingTwiceGivesInvalidHandle) {
  HKEY key = Create("twice");
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
}

}  // namespace
