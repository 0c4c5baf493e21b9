// Every registry call a routine makes can fail: the routine then gives its
// failure result, and no key stays open (checked after each case).
#include <functional>

#include "regctrl_test_support.h"

namespace {

struct FailureCase {
  const char *routine;
  const char *function;
  int skip;  // calls of the function that succeed first
  std::function<bool()> givesFailureResult;
};

const char kKey[] = "Software\\Ostrafen\\Deskplan\\1024x768";

void Arrange() {
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kKey, "dword", 5);
  winsim::SetRegistryValue(HKEY_CURRENT_USER, kKey, "binary", REG_BINARY, {1, 2});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, kKey, "more", 6);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kKey) + "\\A");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kKey) + "\\B");
}

bool ListUntouched(bool (*read)(HKEY, const std::string &, std::vector<std::string> &)) {
  std::vector<std::string> names{"kept"};
  return !read(HKEY_CURRENT_USER, kKey, names) && names == std::vector<std::string>{"kept"};
}

bool WriteFailedAndLeftNothing(bool written) {
  return !written && !winsim::ReadRegistryValue(HKEY_CURRENT_USER, kKey, "new").has_value();
}

const FailureCase kCases[] = {
    {"WriteRegString", "RegCreateKeyExA", 0,
     [] { return WriteFailedAndLeftNothing(WriteRegString(HKEY_CURRENT_USER, kKey, "new", "x")); }},
    {"WriteRegString", "RegSetValueExA", 0,
     [] { return WriteFailedAndLeftNothing(WriteRegString(HKEY_CURRENT_USER, kKey, "new", "x")); }},
    {"WriteRegInteger", "RegCreateKeyExA", 0,
     [] { return WriteFailedAndLeftNothing(WriteRegInteger(HKEY_CURRENT_USER, kKey, "new", 1)); }},
    {"WriteRegInteger", "RegSetValueExA", 0,
     [] { return WriteFailedAndLeftNothing(WriteRegInteger(HKEY_CURRENT_USER, kKey, "new", 1)); }},
    {"WriteRegBool", "RegCreateKeyExA", 0,
     [] { return WriteFailedAndLeftNothing(WriteRegBool(HKEY_CURRENT_USER, kKey, "new", true)); }},
    {"WriteRegBool", "RegSetValueExA", 0,
     [] { return WriteFailedAndLeftNothing(WriteRegBool(HKEY_CURRENT_USER, kKey, "new", true)); }},
    {"ReadRegInteger", "RegOpenKeyExA", 0, [] { return ReadRegInteger(HKEY_CURRENT_USER, kKey, "dword", -1) == -1; }},
    {"ReadRegInteger", "RegQueryValueExA", 0,
     [] { return ReadRegInteger(HKEY_CURRENT_USER, kKey, "dword", -1) == -1; }},
    {"ReadRegInteger", "RegQueryValueExA", 1,
     [] { return ReadRegInteger(HKEY_CURRENT_USER, kKey, "dword", -1) == -1; }},
    {"ReadRegBool", "RegOpenKeyExA", 0, [] { return !ReadRegBool(HKEY_CURRENT_USER, kKey, "dword", false); }},
    {"ReadRegBool", "RegQueryValueExA", 0, [] { return !ReadRegBool(HKEY_CURRENT_USER, kKey, "dword", false); }},
    {"ReadRegBool", "RegQueryValueExA", 1, [] { return !ReadRegBool(HKEY_CURRENT_USER, kKey, "dword", false); }},
    {"ReadRegBinaryHex", "RegOpenKeyExA", 0,
     [] { return ReadRegBinaryHex(HKEY_CURRENT_USER, kKey, "binary", "-") == "-"; }},
    {"ReadRegBinaryHex", "RegQueryValueExA", 0,
     [] { return ReadRegBinaryHex(HKEY_CURRENT_USER, kKey, "binary", "-") == "-"; }},
    {"ReadRegBinaryHex", "RegQueryValueExA", 1,
     [] { return ReadRegBinaryHex(HKEY_CURRENT_USER, kKey, "binary", "-") == "-"; }},
    {"ReadRegKeyNames", "RegOpenKeyExA", 0, [] { return ListUntouched(ReadRegKeyNames); }},
    {"ReadRegKeyNames", "RegEnumKeyExA", 1, [] { return ListUntouched(ReadRegKeyNames); }},
    {"ReadRegValueNames", "RegOpenKeyExA", 0, [] { return ListUntouched(ReadRegValueNames); }},
    {"ReadRegValueNames", "RegEnumValueA", 2, [] { return ListUntouched(ReadRegValueNames); }},
    {"RegKeyPresent", "RegOpenKeyExA", 0, [] { return !RegKeyPresent(HKEY_CURRENT_USER, kKey); }},
    {"DeleteRegKeyTree", "RegDeleteKeyA", 2,
     [] {
       return !DeleteRegKeyTree(HKEY_CURRENT_USER, kKey) && winsim::RegistryKeyExists(HKEY_CURRENT_USER, kKey);
     }},
    {"DeleteRegKeyTree", "RegEnumKeyExA", 0,
     [] {
       return !DeleteRegKeyTree(HKEY_CURRENT_USER, kKey) && winsim::RegistryKeyExists(HKEY_CURRENT_USER, kKey);
     }},
};

TEST(RegCtrlFailure, EveryFailedCallGivesTheRoutinesFailureResultAndLeaksNoKey) {
  for (const auto &c : kCases) {
    SCOPED_TRACE(std::string(c.routine) + " with " + c.function + " failing after " + std::to_string(c.skip));
    winsim::Reset();
    Arrange();
    winsim::FailNext(c.function, ERROR_ACCESS_DENIED, c.skip);
    EXPECT_TRUE(c.givesFailureResult());
    EXPECT_GT(winsim::CountCalls(c.function), static_cast<size_t>(c.skip)) << "the failing call was never made";
    EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
  }
}

TEST(RegCtrlFailure, WithoutFaultsTheSameCallsSucceed) {
  winsim::Reset();
  Arrange();
  EXPECT_TRUE(WriteRegString(HKEY_CURRENT_USER, kKey, "new", "x"));
  EXPECT_EQ(5, ReadRegInteger(HKEY_CURRENT_USER, kKey, "dword", -1));
  EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, kKey, "dword", false));
  EXPECT_EQ("0102", ReadRegBinaryHex(HKEY_CURRENT_USER, kKey, "binary", "-"));
  std::vector<std::string> names;
  EXPECT_TRUE(ReadRegKeyNames(HKEY_CURRENT_USER, kKey, names));
  EXPECT_EQ((std::vector<std::string>{"A", "B"}), names);
  EXPECT_TRUE(ReadRegValueNames(HKEY_CURRENT_USER, kKey, names));
  EXPECT_EQ((std::vector<std::string>{"dword", "binary", "more", "new"}), names);
  EXPECT_TRUE(RegKeyPresent(HKEY_CURRENT_USER, kKey));
  EXPECT_TRUE(DeleteRegKeyTree(HKEY_CURRENT_USER, kKey));
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
}

}  // namespace
