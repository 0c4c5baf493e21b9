// The security of registry keys: inheritance, the access checks of opening,
// and reading and writing owner, DACL and protection by name and by handle.
#include "security_test_support.h"

namespace {

using winsim::SecurityAce;

const char kAdmins[] = "S-1-5-32-544";
const char kSystem[] = "S-1-5-18";
const char kOther[] = "S-1-5-21-7-7-7-1001";
const DWORD kFull = 0x1F01FF;

class KeySecurityTest : public SecurityTest {
 protected:
  void SetUp() override {
    SecurityTest::SetUp();
    user_ = winsim::ProgramUserSid();
    winsim::AddAccount("Autre", "POSTE-01", kOther, SidTypeUser);
  }
  // A key owned by another account whose DACL gives the program's user nothing.
  void LockedKey(const std::string &path) {
    winsim::SetKeySecurity(HKEY_CURRENT_USER, path, kOther, {{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, kOther}}, true);
  }
  static LSTATUS OpenStatus(const std::string &path, REGSAM access) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
    if (key) RegCloseKey(key);
    return status;
  }
  std::string user_;
};

TEST_F(KeySecurityTest, NewKeysBelongToTheUserAndInheritTheRootEntries) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A\\B");
  std::string owner;
  std::vector<SecurityAce> dacl;
  ASSERT_EQ(0u, ReadNamed("CURRENT_USER\\Software\\A\\B", OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                          &owner, &dacl));
  EXPECT_EQ(user_, owner);
  ASSERT_EQ(3u, dacl.size());
  EXPECT_EQ((SecurityAce{0, CONTAINER_INHERIT_ACE | INHERITED_ACE, KEY_ALL_ACCESS, user_}), dacl[0]);
  EXPECT_EQ(kSystem, dacl[1].sid);
  EXPECT_EQ(kAdmins, dacl[2].sid);
}

TEST_F(KeySecurityTest, NamesMustUseTheSystemsRootNames) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A");
  EXPECT_EQ(0u, ReadNamed("current_user\\Software\\A", DACL_SECURITY_INFORMATION, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
            ReadNamed("HKEY_CURRENT_USER\\Software\\A", DACL_SECURITY_INFORMATION, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
            ReadNamed("CURRENT_USER\\Software\\Missing", DACL_SECURITY_INFORMATION, nullptr, nullptr));
  EXPECT_EQ(0, winsim::LiveLocalAllocations());
}

TEST_F(KeySecurityTest, AKeyWhoseDaclGivesNothingCannotBeOpenedNorRead) {
  LockedKey("Software\\Locked");
  EXPECT_EQ(ERROR_ACCESS_DENIED, OpenStatus("Software\\Locked", KEY_READ));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED),
            ReadNamed("CURRENT_USER\\Software\\Locked", DACL_SECURITY_INFORMATION, nullptr, nullptr));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Locked"));
}

TEST_F(KeySecurityTest, TakingOwnershipNeedsThePrivilege) {
  LockedKey("Software\\Locked");
  auto me = winsim::SidBytesOf(user_);
  winsim::SetTokenPrivileges({{"SeTakeOwnershipPrivilege", 0}, {"SeRestorePrivilege", 0}});
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED),
            WriteNamed("CURRENT_USER\\Software\\Locked", OWNER_SECURITY_INFORMATION, me.data(), nullptr));
  winsim::SetTokenPrivileges({{"SeTakeOwnershipPrivilege", SE_PRIVILEGE_ENABLED}});
  // Only the token's user or owner groups may be named, without the restore privilege.
  auto other = winsim::SidBytesOf(kOther);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_OWNER),
            WriteNamed("CURRENT_USER\\Software\\Locked", OWNER_SECURITY_INFORMATION, other.data(), nullptr));
  ASSERT_EQ(0u, WriteNamed("CURRENT_USER\\Software\\Locked", OWNER_SECURITY_INFORMATION, me.data(), nullptr));
  EXPECT_EQ(user_, winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\Locked").owner);
  // The owner reads and rewrites the DACL though it grants nothing; the key opens then.
  std::vector<SecurityAce> dacl;
  ASSERT_EQ(0u, ReadNamed("CURRENT_USER\\Software\\Locked", DACL_SECURITY_INFORMATION, nullptr, &dacl));
  EXPECT_EQ(1u, dacl.size());
  EXPECT_EQ(ERROR_ACCESS_DENIED, OpenStatus("Software\\Locked", KEY_READ));
  auto acl = MakeAcl({{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, user_}});
  ASSERT_EQ(0u, WriteNamed("CURRENT_USER\\Software\\Locked", DACL_SECURITY_INFORMATION, nullptr,
                           reinterpret_cast<PACL>(acl.data())));
  EXPECT_EQ(ERROR_SUCCESS, OpenStatus("Software\\Locked", KEY_ALL_ACCESS));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Locked"));
}

TEST_F(KeySecurityTest, RestorePrivilegeNamesAnyOwner) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\A");
  winsim::SetTokenPrivileges({{"SeRestorePrivilege", SE_PRIVILEGE_ENABLED}});
  auto other = winsim::SidBytesOf(kOther);
  EXPECT_EQ(0u, WriteNamed("CURRENT_USER\\Software\\A", OWNER_SECURITY_INFORMATION, other.data(), nullptr));
  EXPECT_EQ(kOther, winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\A").owner);
}

TEST_F(KeySecurityTest, DenyEntriesBeforeAllowEntriesWin) {
  winsim::SetKeySecurity(HKEY_CURRENT_USER, "Software\\D", user_,
                         {{ACCESS_DENIED_ACE_TYPE, 0, KEY_SET_VALUE, user_}, {ACCESS_ALLOWED_ACE_TYPE, 0, kFull, user_}},
                         true);
  EXPECT_EQ(ERROR_SUCCESS, OpenStatus("Software\\D", KEY_READ));
  EXPECT_EQ(ERROR_ACCESS_DENIED, OpenStatus("Software\\D", KEY_WRITE));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\D", 0, MAXIMUM_ALLOWED, &key));
  DWORD value = 1;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(key, "v", 0, REG_DWORD, reinterpret_cast<BYTE *>(&value), 4));
  RegCloseKey(key);
}

TEST_F(KeySecurityTest, ProtectionStopsAndRestoresInheritance) {
  winsim::SetKeySecurity(HKEY_CURRENT_USER, "Software\\P", user_, {{ACCESS_ALLOWED_ACE_TYPE, 2, KEY_READ, kOther}},
                         false);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\P\\Child");
  auto child = winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\P\\Child");
  ASSERT_EQ(4u, child.dacl.size());
  EXPECT_EQ((SecurityAce{0, CONTAINER_INHERIT_ACE | INHERITED_ACE, KEY_READ, kOther}), child.dacl[0]);
  // The DACL as read, written back protected: the inherited entries become the key's own.
  std::vector<SecurityAce> dacl;
  ASSERT_EQ(0u, ReadNamed("CURRENT_USER\\Software\\P\\Child", DACL_SECURITY_INFORMATION, nullptr, &dacl));
  std::vector<SecurityAce> plain;
  for (auto ace : dacl) plain.push_back(ace);
  auto acl = MakeAcl(plain);
  ASSERT_EQ(0u, WriteNamed("CURRENT_USER\\Software\\P\\Child",
                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                           reinterpret_cast<PACL>(acl.data())));
  child = winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\P\\Child");
  EXPECT_TRUE(child.daclProtected);
  ASSERT_EQ(4u, child.dacl.size());
  EXPECT_EQ(CONTAINER_INHERIT_ACE, child.dacl[0].flags);
  // Written back unprotected with nothing of its own: only what it inherits.
  auto empty = MakeAcl({});
  ASSERT_EQ(0u, WriteNamed("CURRENT_USER\\Software\\P\\Child",
                           DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                           reinterpret_cast<PACL>(empty.data())));
  child = winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\P\\Child");
  EXPECT_FALSE(child.daclProtected);
  EXPECT_EQ(4u, child.dacl.size());
  EXPECT_EQ(CONTAINER_INHERIT_ACE | INHERITED_ACE, child.dacl[0].flags);
}

TEST_F(KeySecurityTest, HandlesNeedTheRightsTheyWereOpenedWith) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\H");
  auto get = Exported<GetSecurityInfoFn>("advapi32.dll", "GetSecurityInfo");
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\H", 0, KEY_QUERY_VALUE, &key));
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PSID owner = nullptr;
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED),
            get(key, SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor));
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\H", 0, READ_CONTROL, &key));
  ASSERT_EQ(0u, get(key, SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor));
  EXPECT_EQ(user_, winsim::SidTextOf(owner));
  LocalFree(descriptor);
  RegCloseKey(key);
}

TEST_F(KeySecurityTest, SystemAclChecksAlignment) {
  std::vector<BYTE> acl(44);
  ASSERT_TRUE(InitializeAcl(reinterpret_cast<PACL>(acl.data()), 44, ACL_REVISION));
  EXPECT_TRUE(IsValidAcl(reinterpret_cast<PACL>(acl.data())));
  reinterpret_cast<PACL>(acl.data())->AclSize = 42;
  EXPECT_FALSE(IsValidAcl(reinterpret_cast<PACL>(acl.data())));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_ACL), GetLastError());
  reinterpret_cast<PACL>(acl.data())->AclSize = 44;
  reinterpret_cast<PACL>(acl.data())->AceCount = 1;  // an entry that is not there
  EXPECT_FALSE(IsValidAcl(reinterpret_cast<PACL>(acl.data())));
}

}  // namespace
