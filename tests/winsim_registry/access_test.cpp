// Rights: what a handle was granted is checked on every call, and rights
// refused on a key stop the opens that ask for them.
#include "registry_test_support.h"

namespace {

using Access = RegistryTest;

TEST_F(Access, AHandleGrantsOnlyWhatItWasOpenedWith) {
  winsim::SetRegistryDword(HKEY_CURRENT_USER, "Software\\A", "v", 1);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A\\Sub");
  HKEY setOnly = Open("Software\\A", KEY_SET_VALUE);
  DWORD size = 0;
  char name[8];
  DWORD length = sizeof name;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(setOnly, "v", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegEnumValueA(setOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegEnumKeyExA(setOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, SetDword(setOnly, "w", 2));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(setOnly, "w"));
  RegCloseKey(setOnly);

  HKEY readOnly = Open("Software\\A", GENERIC_READ);
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(readOnly, "v", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyExA(readOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_ACCESS_DENIED, SetDword(readOnly, "v", 3));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(readOnly, "v"));
  RegCloseKey(readOnly);
}

TEST_F(Access, ARefusedRightFailsEveryOpenThatAsksForIt) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Locked\\Inner");
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, "Software\\Locked", WRITE_DAC);
  Open("Software\\Locked", KEY_ALL_ACCESS, ERROR_ACCESS_DENIED);
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Locked", 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
  EXPECT_EQ(nullptr, key);
  RegCloseKey(Open("Software\\Locked", KEY_READ | KEY_SET_VALUE));
  // Reaching a key through a locked parent needs nothing of the parent.
  RegCloseKey(Open("Software\\Locked\\Inner", KEY_ALL_ACCESS));
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
}

TEST_F(Access, MaximumAllowedGrantsWhatIsNotRefused) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Max");
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, "Software\\Max", KEY_SET_VALUE);
  HKEY key = Open("Software\\Max", MAXIMUM_ALLOWED);
  EXPECT_EQ(ERROR_ACCESS_DENIED, SetDword(key, "v", 1));
  DWORD count = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr));
  RegCloseKey(key);
}

TEST_F(Access, RefusedDeleteOrCreateSubkeyStopsThoseOperations) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Keep");
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, "Software\\Keep", DELETE | KEY_CREATE_SUB_KEY);
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Keep"));
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Keep\\New\\Deeper", 0, nullptr, 0,
                                                 KEY_READ, nullptr, &key, nullptr));
  EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Keep\\New"));
  winsim::DenyRegistryAccess(HKEY_CURRENT_USER, "Software\\Keep", 0);
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Keep"));
}

TEST_F(Access, InvalidHandlesAndParametersAreRefused) {
  HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  DWORD size = 0;
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(bogus, "v", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(bogus));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, nullptr));
  BYTE data[4];
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExA(HKEY_CURRENT_USER, "v", nullptr, nullptr, data, nullptr));
  EXPECT_EQ(ERROR_NOACCESS, RegSetValueExA(HKEY_CURRENT_USER, "v", 0, REG_BINARY, nullptr, 4));
}

TEST_F(Access, OpenHandlesAreCountedUntilClosed) {
  HKEY first = Create("Software\\Count");
  HKEY second = Open("Software\\Count", KEY_READ);
  EXPECT_EQ(2, winsim::OpenRegistryHandleCount());
  RegCloseKey(first);
  EXPECT_EQ(1, winsim::OpenRegistryHandleCount());
  RegCloseKey(second);
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(second));
}

TEST_F(Access, InjectedFaultsFailTheNamedCallAsWindowsWould) {
  winsim::FailNext("RegOpenKeyExA", ERROR_ACCESS_DENIED);
  HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x99));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key));
  EXPECT_EQ(nullptr, key);
  winsim::FailNext("RegSetValueExA", ERROR_CANTWRITE, 1);
  key = Create("Software\\Faults");
  EXPECT_EQ(ERROR_SUCCESS, SetDword(key, "first", 1));
  EXPECT_EQ(ERROR_CANTWRITE, SetDword(key, "second", 2));
  EXPECT_EQ((std::vector<std::string>{"first"}), winsim::RegistryValueNames(HKEY_CURRENT_USER, "Software\\Faults"));
  RegCloseKey(key);
  EXPECT_EQ(0, winsim::OpenRegistryHandleCount());
}

TEST_F(Access, CallsAreTracedWithTheKeyPathAndRights) {
  HKEY key = Create("Software\\Traced");
  SetDword(key, "v", 1);
  RegCloseKey(key);
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Traced|0xF003F", winsim::CallsTo("RegCreateKeyExA").at(0).detail);
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Traced|v|4", winsim::CallsTo("RegSetValueExA").at(0).detail);
  EXPECT_EQ((std::vector<std::string>{"RegCreateKeyExA", "RegSetValueExA", "RegCloseKey"}),
            winsim::CallSequence({"RegCreateKeyExA", "RegSetValueExA", "RegCloseKey"}));
}

}  // namespace
