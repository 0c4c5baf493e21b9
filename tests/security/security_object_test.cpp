// Security objects on simulated registry keys: names, owner and DACL reads and
// writes with and without rights, protection, the ACL cache, release order
// and write-back, placeholders.
#include "security_layer_support.h"

namespace {

using winsim::SecurityAce;

const char kOther[] = "S-1-5-21-7-7-7-1001";
const char kKey[] = "Software\\Ostrafen\\Verrou";

class SecurityObjectTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    user_ = winsim::ProgramUserSid();
    winsim::AddAccount("Autre", "POSTE-01", kOther, SidTypeUser);
  }
  // Owned by another account, whose DACL gives the user nothing.
  void LockKey() {
    winsim::SetKeySecurity(HKEY_CURRENT_USER, kKey, kOther, {{ACCESS_ALLOWED_ACE_TYPE, 3, 0x1F01FF, kOther}}, true);
  }
  static IPtr<ISecurityObject> Key() { return RegistryKeySecurity(WidenText(std::string("HKCU\\") + kKey)); }

  // The repair the reset tool makes of a key, in its order.
  static void Repair() {
    IPtr<ISecurityObject> object = Key();
    object->SetDaclProtected(false);
    IPtr<IAccount> owner = CurrentUserAccount();
    object->SetOwner(owner.get());
    IPtr<IAcl> acl1 = object->Dacl();
    acl1->Clear();
    IPtr<IAcl> acl2 = object->Dacl();
    IPtr<IAccount> user = CurrentUserAccount();
    acl2->SetFileAccess(user.get(), true);
    user.reset();
    acl2.reset();
    acl1.reset();
  }
  std::string user_;
};

std::string Narrow(const WideString &text) { return std::string(text.begin(), text.end()); }

TEST_F(SecurityObjectTest, RootNamesBecomeTheSystemsNames) {
  const std::pair<const char *, const char *> cases[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\X", "MACHINE\\Software\\X"},
      {"hklm\\Software", "MACHINE\\Software"},
      {"HKEY_USERS\\.DEFAULT", "USERS\\.DEFAULT"},
      {"HKCU", "CURRENT_USER"},
      {"user\\a", "CURRENT_USER\\a"},
      {"HKEY_CURRENT_CONFIG\\System", "CONFIG\\System"},
      {"classes\\.txt", "CLASSES_ROOT\\.txt"},
      {"software\\x", "SOFTWARE\\x"},
      {"\\software", "\\software"},
      {"h\xE4user\\\xE4", "H\xC4USER\\\xE4"},
  };
  for (auto &c : cases) EXPECT_EQ(c.second, Narrow(CanonicalRegistryKeyName(WidenText(c.first)))) << c.first;
  IPtr<ISecurityObject> key = RegistryKeySecurity(WidenText("HKCU\\Software"));
  EXPECT_TRUE(key->IsValid());
  EXPECT_EQ(SE_REGISTRY_KEY, key->ObjectType());
  EXPECT_EQ(nullptr, key->ObjectHandle());
  IPtr<ISecurityObject> empty = RegistryKeySecurity(WidenText("HKEY_"));
  EXPECT_FALSE(empty->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), empty->LastErrorNo());
}

TEST_F(SecurityObjectTest, RepairTakesALockedKeyWithThePrivilege) {
  LockKey();
  winsim::SetTokenPrivileges({{"SeTakeOwnershipPrivilege", SE_PRIVILEGE_ENABLED}});
  Repair();
  auto state = winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(user_, state.owner);
  EXPECT_EQ((SecurityAce{0, 3, 0x1F01FF, user_}), state.dacl.front());
  EXPECT_TRUE(state.daclProtected);  // the first step failed: the key could not be read yet
  auto calls = winsim::CallsTo("SetNamedSecurityInfoW");
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ("CURRENT_USER\\Software\\Ostrafen\\Verrou|0x1", calls[0].detail);
  EXPECT_EQ("CURRENT_USER\\Software\\Ostrafen\\Verrou|0x4", calls[1].detail);
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key));
  RegCloseKey(key);
  EXPECT_EQ(0, winsim::LiveLocalAllocations());
}

TEST_F(SecurityObjectTest, RepairOfAReadableKeyMakesTheFiveCalls) {
  winsim::SetKeySecurity(HKEY_CURRENT_USER, kKey, user_, {{ACCESS_ALLOWED_ACE_TYPE, 3, KEY_READ, kOther}}, true);
  Repair();
  Repair();
  auto state = winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey);
  EXPECT_FALSE(state.daclProtected);
  EXPECT_EQ((SecurityAce{0, 3, 0x1F01FF, user_}), state.dacl.front());
  // Then what it inherits from Software (the root's entries).
  EXPECT_EQ(CONTAINER_INHERIT_ACE | INHERITED_ACE, state.dacl[1].flags);
  std::vector<std::string> details;
  for (auto &call : winsim::Trace())
    if (call.function.find("NamedSecurityInfoW") != std::string::npos)
      details.push_back(call.function.substr(0, 3) + call.detail.substr(call.detail.find('|')));
  EXPECT_EQ((std::vector<std::string>{"Get|0x4", "Set|0x20000004", "Set|0x1", "Get|0x4", "Set|0x4", "Get|0x4",
                                      "Set|0x20000004", "Set|0x1", "Get|0x4", "Set|0x4"}),
            details);
}

TEST_F(SecurityObjectTest, WithoutThePrivilegeTheOwnerStays) {
  LockKey();
  winsim::SetTokenPrivileges({{"SeTakeOwnershipPrivilege", 0}});
  IPtr<ISecurityObject> object = Key();
  object->SetDaclProtected(false);
  EXPECT_FALSE(object->Success());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ACCESS_DENIED), object->LastErrorNo());
  EXPECT_EQ(0u, winsim::CountCalls("SetNamedSecurityInfoW"));
  object->SetOwner(CurrentUserAccount().get());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ACCESS_DENIED), object->LastErrorNo());
  IPtr<IAcl> dacl = object->Dacl();
  EXPECT_FALSE(dacl->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ACCESS_DENIED), dacl->LastErrorNo());
  dacl->Clear();
  EXPECT_EQ(kErrorInvalidObject, dacl->LastErrorNo());
  dacl.reset();
  IPtr<IAccount> owner = object->Owner();
  EXPECT_FALSE(owner->IsValid());
  EXPECT_EQ(kOther, winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey).owner);
}

TEST_F(SecurityObjectTest, OwnerGroupAndProtectionAreReadAndWrittenAtOnce) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  IPtr<ISecurityObject> object = Key();
  EXPECT_EQ(user_, object->Owner()->SidString());
  EXPECT_EQ("S-1-5-18", object->Group()->SidString());
  EXPECT_FALSE(object->DaclProtected());
  object->SetDaclProtected(true);
  EXPECT_TRUE(object->Success());
  EXPECT_TRUE(object->DaclProtected());
  EXPECT_TRUE(winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey).daclProtected);
  object->SetOwner(AccountByName("Administrators", 0).get());
  EXPECT_TRUE(object->Success());
  EXPECT_EQ("S-1-5-32-544", object->Owner()->SidString());
  object->SetGroup(nullptr);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), object->LastErrorNo());
  // Reading the system list needs a privilege the token lacks by default.
  winsim::SetTokenPrivileges({});
  IPtr<IAcl> sacl = object->Sacl();
  EXPECT_FALSE(sacl->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PRIVILEGE_NOT_HELD), sacl->LastErrorNo());
}

TEST_F(SecurityObjectTest, TheDaclIsCachedWhileReferenced) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  IPtr<ISecurityObject> object = Key();
  IPtr<IAcl> first = object->Dacl();
  EXPECT_EQ(first.get(), object->Dacl().get());
  EXPECT_EQ(1u, winsim::CountCalls("GetNamedSecurityInfoW"));
  EXPECT_EQ(object.get(), first->OwnerSecurityObject().get());
  first.reset();
  IPtr<IAcl> second = object->Dacl();
  EXPECT_EQ(2u, winsim::CountCalls("GetNamedSecurityInfoW"));
  EXPECT_EQ(0u, winsim::CountCalls("SetNamedSecurityInfoW"));
}

TEST_F(SecurityObjectTest, ReleasingAChangedDaclWritesItOnceTheObjectIsGone) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  IPtr<IAcl> dacl = Key()->Dacl();  // the ACL keeps its security object alive
  dacl->AddAccess(AccountByName(kOther, 0).get(), KEY_READ, 0, 0);
  EXPECT_EQ(0u, winsim::CountCalls("SetNamedSecurityInfoW"));
  dacl.reset();
  EXPECT_EQ(1u, winsim::CountCalls("SetNamedSecurityInfoW"));
  auto state = winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ((SecurityAce{0, 0, KEY_READ, kOther}), state.dacl.front());
}

TEST_F(SecurityObjectTest, AFailedFlushIsNotRetried) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  IPtr<ISecurityObject> object = Key();
  IPtr<IAcl> dacl = object->Dacl();
  dacl->Clear();
  winsim::FailNext("SetNamedSecurityInfoW", ERROR_ACCESS_DENIED);
  EXPECT_FALSE(dacl->Flush());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ACCESS_DENIED), dacl->LastErrorNo());
  EXPECT_FALSE(dacl->Changed());
  dacl.reset();
  EXPECT_EQ(1u, winsim::CountCalls("SetNamedSecurityInfoW"));
  EXPECT_EQ(3u, winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey).dacl.size());
}

TEST_F(SecurityObjectTest, SetDaclInstallsAnotherListAndUnlinksTheOld) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  IPtr<ISecurityObject> object = Key();
  IPtr<IAcl> old = object->Dacl();
  IPtr<TIAcl> replacement = MakeObject<TIAcl>(nullptr, nullptr);
  replacement->AddAccess(CurrentUserAccount().get(), KEY_ALL_ACCESS, 0, 3);
  object->SetDacl(replacement.get());
  EXPECT_TRUE(object->Success());
  EXPECT_EQ(replacement.get(), static_cast<TIAcl *>(dynamic_cast<TIAcl *>(object->Dacl()->SelfObject())));
  EXPECT_FALSE(old->OwnerSecurityObject()->IsValid());
  EXPECT_TRUE(replacement->Changed());  // written again when released
  replacement.reset();
  EXPECT_EQ(2u, winsim::CountCalls("SetNamedSecurityInfoW"));
  object->SetDacl(nullptr);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), object->LastErrorNo());
}

TEST_F(SecurityObjectTest, AMissingKeyFailsQuietly) {
  IPtr<ISecurityObject> object = RegistryKeySecurity(WidenText("HKCU\\Software\\Absent"));
  object->SetDaclProtected(false);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND), object->LastErrorNo());
  EXPECT_FALSE(object->DaclProtected());
  IPtr<IAcl> dacl = object->Dacl();
  EXPECT_FALSE(dacl->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND), dacl->LastErrorNo());
}

TEST_F(SecurityObjectTest, PlaceholdersAnswerWithTheirError) {
  IPtr<ISecurityObject> invalid = MakeObject<TISecurityObject>(kErrorAclWithoutOwner, std::string("x"));
  IPtr<IAccount> owner = invalid->Owner();
  EXPECT_FALSE(owner->IsValid());
  EXPECT_EQ(kErrorInvalidObject, owner->LastErrorNo());
  EXPECT_EQ("This object is invalid.", owner->LastErrorStr());
  EXPECT_FALSE(invalid->Dacl()->IsValid());
  IPtr<ISecurityObject> untyped = MakeObject<TISecurityObject>(nullptr, WidenText("x"), SE_UNKNOWN_OBJECT_TYPE);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), untyped->LastErrorNo());
  IPtr<ISecurityObject> badHandle =
      MakeObject<TISecurityObject>(INVALID_HANDLE_VALUE, WideString(), SE_REGISTRY_KEY);
  EXPECT_FALSE(badHandle->IsValid());
}

TEST_F(SecurityObjectTest, KeysGivenByHandleUseTheHandleFunctions) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, READ_CONTROL | WRITE_DAC, &key));
  {
    IPtr<ISecurityObject> object = MakeObject<TISecurityObject>(key, WideString(), SE_REGISTRY_KEY);
    EXPECT_EQ(user_, object->Owner()->SidString());
    object->SetDaclProtected(true);
    EXPECT_TRUE(object->Success());
    object->SetOwner(CurrentUserAccount().get());
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ACCESS_DENIED), object->LastErrorNo());
  }
  EXPECT_EQ(2u, winsim::CountCalls("GetSecurityInfo"));
  EXPECT_TRUE(winsim::KeySecurityOf(HKEY_CURRENT_USER, kKey).daclProtected);
  RegCloseKey(key);
}

}  // namespace
