// What the accounts, ACLs and security objects of the security layer rely on:
// SIDs in text and binary form, account lookups, the token, binary ACLs as the
// system reads them, and the named-object functions on a key of the user.
// The same sources run against the simulated machine and under Wine.
#include <gtest/gtest.h>
#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "security/account.h"
#include "security/acl.h"
#include "security/security_object.h"

namespace {

using GetNamedFn = DWORD(WINAPI *)(LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID *, PSID *, PACL *, PACL *,
                                   PSECURITY_DESCRIPTOR *);

GetNamedFn GetNamed() {
  return reinterpret_cast<GetNamedFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "GetNamedSecurityInfoW")));
}

std::vector<BYTE> SidBytes(PSID sid) {
  auto *bytes = static_cast<BYTE *>(sid);
  return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

struct LookedUp {
  std::string name;
  std::string domain;
  SID_NAME_USE use = SidTypeUnknown;
  DWORD nameSize = 0;
  DWORD domainSize = 0;
};

// LookupAccountSidA the way the layer calls it: sizes first, then the names.
bool LookUp(PSID sid, LookedUp &out) {
  DWORD nameLength = 0, domainLength = 0;
  SID_NAME_USE use;
  EXPECT_FALSE(LookupAccountSidA(nullptr, sid, nullptr, &nameLength, nullptr, &domainLength, &use));
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  out.nameSize = nameLength;
  out.domainSize = domainLength;
  std::vector<char> name(nameLength + 1), domain(domainLength + 1);
  if (!LookupAccountSidA(nullptr, sid, name.data(), &nameLength, domain.data(), &domainLength, &out.use)) return false;
  out.name = name.data();
  out.domain = domain.data();
  return true;
}

const std::string kKeyName = "CURRENT_USER\\Software\\Ostrafen\\ContratSecurite";
const char kKeyPath[] = "Software\\Ostrafen\\ContratSecurite";


TEST(AccountsAclContract, WellKnownSidsInTextAndBinaryForm) {
  const struct {
    const char *text;
    std::vector<BYTE> bytes;
  } cases[] = {
      {"S-1-1-0", {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
      {"S-1-5-18", {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}},
      {"S-1-5-32-544", {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0}},
  };
  for (auto &c : cases) {
    PSID system = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidA(c.text, &system)) << c.text;
    EXPECT_EQ(c.bytes, SidBytes(system)) << c.text;
    PSID layer = ParseSidString(c.text);
    ASSERT_NE(nullptr, layer);
    EXPECT_TRUE(EqualSid(system, layer));
    LPSTR text = nullptr;
    ASSERT_TRUE(ConvertSidToStringSidA(layer, &text));
    EXPECT_EQ(std::string(c.text), text);
    LocalFree(text);
    EXPECT_EQ(c.text, AccountBySid(layer)->SidString());
    FreeSid(layer);
    LocalFree(system);
  }
}

TEST(AccountsAclContract, LookupAccountSidNamesWellKnownAccounts) {
  const struct {
    const char *sid;
    const char *name;
    const char *domain;
    SID_NAME_USE use;
  } cases[] = {
      {"S-1-5-32-544", "Administrators", "BUILTIN", SidTypeAlias},
      {"S-1-5-18", "SYSTEM", "NT AUTHORITY", SidTypeWellKnownGroup},
      {"S-1-1-0", "Everyone", "", SidTypeWellKnownGroup},
  };
  for (auto &c : cases) {
    PSID sid = ParseSidString(c.sid);
    LookedUp found;
    ASSERT_TRUE(LookUp(sid, found)) << c.sid;
    EXPECT_EQ(c.name, found.name);
    EXPECT_EQ(c.domain, found.domain);
    EXPECT_EQ(c.use, found.use);
    // The sizes asked for leave room for the terminating zero (Windows asks
    // exactly that; Wine one byte more).
    EXPECT_GE(found.nameSize, found.name.size() + 1);
    EXPECT_LE(found.nameSize, found.name.size() + 2);
    EXPECT_GE(found.domainSize, found.domain.size() + 1);
    EXPECT_LE(found.domainSize, found.domain.size() + 2);
    FreeSid(sid);
  }
  PSID unknown = ParseSidString("S-1-5-21-1-2-3-4");
  DWORD nameLength = 0, domainLength = 0;
  SID_NAME_USE use;
  EXPECT_FALSE(LookupAccountSidA(nullptr, unknown, nullptr, &nameLength, nullptr, &domainLength, &use));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NONE_MAPPED), GetLastError());
  FreeSid(unknown);
  IPtr<IAccount> admins = AccountByName("Administrators", 0);
  EXPECT_EQ("S-1-5-32-544", admins->SidString());
}

TEST(AccountsAclContract, TheTokenNamesTheUserAndItsPrivileges) {
  IPtr<IAccount> user = CurrentUserAccount();
  ASSERT_TRUE(user->IsValid());
  EXPECT_FALSE(user->Name().empty());
  EXPECT_EQ(SidTypeUser, user->AccountType());
  LUID luid;
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeTakeOwnershipPrivilege", &luid));
  EXPECT_EQ(9u, luid.LowPart);
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeRestorePrivilege", &luid));
  EXPECT_EQ(18u, luid.LowPart);
  EXPECT_FALSE(LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &luid));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_PRIVILEGE), GetLastError());
}

TEST(AccountsAclContract, TheSystemReadsTheLayersBinaryAcl) {
  IPtr<TIAcl> acl = MakeObject<TIAcl>(nullptr, nullptr);
  IPtr<IAccount> system = AccountByName("S-1-5-18", 0), admins = AccountByName("S-1-5-32-544", 0);
  IPtr<IAccount> user = CurrentUserAccount();
  acl->MakeExists();
  acl->AddAccess(system.get(), 0x1F01FF, ACCESS_ALLOWED_ACE_TYPE, 3);
  acl->AddAccess(user.get(), KEY_SET_VALUE, ACCESS_DENIED_ACE_TYPE, 0);
  acl->Insert(NewAce(admins.get(), KEY_READ, ACCESS_ALLOWED_ACE_TYPE, 2).get(), 1);
  acl->SetFileAccess(user.get(), true);
  ASSERT_TRUE(acl->IsValidAcl());
  PACL raw = const_cast<PACL>(acl->RawAcl());
  ASSERT_TRUE(IsValidAcl(raw));
  ASSERT_EQ(static_cast<WORD>(acl->Count()), raw->AceCount);
  for (std::int32_t i = 0; i < acl->Count(); ++i) {
    void *ace = nullptr;
    ASSERT_TRUE(GetAce(raw, static_cast<DWORD>(i), &ace));
    auto *entry = static_cast<ACCESS_ALLOWED_ACE *>(ace);
    IPtr<IAce> mine = acl->AceItems(i);
    EXPECT_EQ(mine->AceType(), entry->Header.AceType);
    EXPECT_EQ(mine->AceFlags(), entry->Header.AceFlags);
    EXPECT_EQ(mine->Access(), entry->Mask);
    EXPECT_TRUE(EqualSid(&entry->SidStart, mine->Account()->Sid()));
  }
  void *beyond = nullptr;
  EXPECT_FALSE(GetAce(raw, static_cast<DWORD>(acl->Count()), &beyond));
  ACL_SIZE_INFORMATION size = {};
  ASSERT_TRUE(GetAclInformation(raw, &size, sizeof size, AclSizeInformation));
  EXPECT_EQ(acl->UsedSize(), size.AclBytesInUse);
  EXPECT_EQ(acl->AclSize(), size.AclBytesInUse + size.AclBytesFree);
}

TEST(AccountsAclContract, NamedSecurityOfAUserKey) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                           nullptr));
  RegCloseKey(key);
  GetNamedFn getNamed = GetNamed();
  ASSERT_NE(nullptr, getNamed);
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(0u, getNamed(WidenText(kKeyName).c_str(), SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                         &owner, nullptr, &dacl, nullptr, &descriptor));
  ASSERT_NE(nullptr, owner);
  EXPECT_TRUE(IsValidSid(owner));
  ASSERT_NE(nullptr, dacl);
  EXPECT_TRUE(IsValidAcl(dacl));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  EXPECT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
  EXPECT_TRUE(control & SE_DACL_PRESENT);
  EXPECT_EQ(nullptr, LocalFree(descriptor));
  // The registry's own root names are not the ones these functions take.
  descriptor = nullptr;
  EXPECT_NE(0u, getNamed(WidenText("HKEY_CURRENT_USER\\Software\\Ostrafen\\ContratSecurite").c_str(), SE_REGISTRY_KEY,
                         DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &descriptor));
  if (descriptor) LocalFree(descriptor);
  descriptor = nullptr;
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
            getNamed(WidenText("CURRENT_USER\\Software\\Ostrafen\\ContratAbsent").c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION,
                     nullptr, nullptr, &dacl, nullptr, &descriptor));

  // Through the layer, the way the reset tool repairs a key.
  {
    IPtr<ISecurityObject> object = RegistryKeySecurity(WidenText("HKEY_CURRENT_USER\\Software\\Ostrafen\\ContratSecurite"));
    EXPECT_TRUE(object->Owner()->IsValid());
    object->SetDaclProtected(false);
    EXPECT_TRUE(object->Success());
    object->SetOwner(CurrentUserAccount().get());
    EXPECT_TRUE(object->Success()) << object->LastErrorNo();
    IPtr<IAcl> acl = object->Dacl();
    ASSERT_TRUE(acl->IsValid());
    acl->Clear();
    acl->SetFileAccess(CurrentUserAccount().get(), true);
    EXPECT_TRUE(acl->Flush());
  }
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath));
}

// Windows-1252 bytes 0x80-0x9F in a key's name: the security layer names the
// key the A functions made, through the ANSI code page (U+20AC, U+0152, U+2019).
TEST(AccountsAclContract, NamedSecurityOfAKeyNamedWithTheCodePagesOwnCharacters) {
  const std::string path = "Software\\Ostrafen\\Contrat \x80 \x8C" "uvre \x92";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &key, nullptr));
  RegCloseKey(key);
  const WideString wide = WidenText("HKEY_CURRENT_USER\\" + path);
  EXPECT_EQ(wide.substr(wide.size() - 9), (WideString{0x20AC, ' ', 0x0152, 'u', 'v', 'r', 'e', ' ', 0x2019}));
  EXPECT_EQ("HKEY_CURRENT_USER\\" + path, NarrowText(wide));
  {
    IPtr<ISecurityObject> object = RegistryKeySecurity(wide);
    EXPECT_TRUE(object->Owner()->IsValid()) << object->LastErrorNo();
    object->SetDaclProtected(false);
    EXPECT_TRUE(object->Success()) << object->LastErrorNo();
    EXPECT_TRUE(object->Dacl()->IsValid()) << object->LastErrorNo();
  }
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()));
}

}  // namespace
