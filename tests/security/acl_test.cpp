// ACLs: building, parsing and editing the binary list, entries in order, the
// size rules and their limit, malformed binaries, entries that outlive their place.
#include <cstring>

#include "security_layer_support.h"

#include "security/layer_error.h"

namespace {

using winsim::SecurityAce;

const char kUser[] = "S-1-5-21-1004336348-1177238915-682003330-1000";
const char kAdmins[] = "S-1-5-32-544";
const char kSystem[] = "S-1-5-18";

class AclTest : public LayerTest {
 protected:
  IPtr<TIAcl> FreeAcl(const ACL *binary = nullptr) { return MakeObject<TIAcl>(nullptr, binary); }
};

// A binary ACL from raw entry bytes.
std::vector<DWORD> BinaryAcl(const std::vector<std::vector<BYTE>> &aces, WORD extra = 0) {
  std::vector<BYTE> bytes(8);
  for (auto &ace : aces) bytes.insert(bytes.end(), ace.begin(), ace.end());
  bytes.resize(bytes.size() + extra);
  bytes[0] = ACL_REVISION;
  WORD size = static_cast<WORD>(bytes.size()), count = static_cast<WORD>(aces.size());
  std::memcpy(&bytes[2], &size, 2);
  std::memcpy(&bytes[4], &count, 2);
  std::vector<DWORD> acl((bytes.size() + 3) / 4);
  std::memcpy(acl.data(), bytes.data(), bytes.size());
  return acl;
}

std::vector<BYTE> PlainAce(BYTE type, BYTE flags, DWORD mask, const std::string &sid) {
  auto sidBytes = winsim::SidBytesOf(sid);
  std::vector<BYTE> ace(8);
  ace[0] = type;
  ace[1] = flags;
  WORD size = static_cast<WORD>(8 + sidBytes.size());
  std::memcpy(&ace[2], &size, 2);
  std::memcpy(&ace[4], &mask, 4);
  ace.insert(ace.end(), sidBytes.begin(), sidBytes.end());
  return ace;
}

std::vector<BYTE> ObjectAce(DWORD objectFlags, const std::string &sid, bool guidsPresentByFlags = true) {
  auto sidBytes = winsim::SidBytesOf(sid);
  std::vector<BYTE> ace(12);
  ace[0] = ACCESS_ALLOWED_OBJECT_ACE_TYPE;
  DWORD mask = 0x30;
  std::memcpy(&ace[4], &mask, 4);
  std::memcpy(&ace[8], &objectFlags, 4);
  int guids = guidsPresentByFlags ? ((objectFlags & 1) != 0) + ((objectFlags & 2) != 0) : 0;
  for (int g = 0; g < guids; ++g)
    for (BYTE b = 0; b < 16; ++b) ace.push_back(static_cast<BYTE>(0x10 * (g + 1) + b));
  ace.insert(ace.end(), sidBytes.begin(), sidBytes.end());
  WORD size = static_cast<WORD>(ace.size());
  std::memcpy(&ace[2], &size, 2);
  return ace;
}

TEST_F(AclTest, ParsedEntriesKeepTheirOrderAndKinds) {
  auto binary = BinaryAcl({PlainAce(1, 0, KEY_SET_VALUE, kUser), PlainAce(0, 3, 0x1F01FF, kAdmins),
                           ObjectAce(ACE_OBJECT_TYPE_PRESENT, kSystem)});
  IPtr<TIAcl> acl = FreeAcl(reinterpret_cast<const ACL *>(binary.data()));
  ASSERT_TRUE(acl->IsValid());
  ASSERT_EQ(3, acl->Count());
  EXPECT_EQ((SecurityAce{1, 0, KEY_SET_VALUE, kUser}), Entries(*acl)[0]);
  EXPECT_EQ((SecurityAce{0, 3, 0x1F01FF, kAdmins}), Entries(*acl)[1]);
  // The object entry's SID follows the one GUID its flags announce.
  IPtr<IObjectAce> object = InterfaceOf<IObjectAce>(acl->AceItems(2).get());
  ASSERT_TRUE(object);
  EXPECT_EQ(kSystem, object->Account()->SidString());
  EXPECT_EQ(0x13121110u, object->ObjectTypeGuid().Data1);
  EXPECT_EQ(0u, object->InheritedObjectTypeGuid().Data1);
  EXPECT_EQ(binary.size() * 4, acl->UsedSize());
  EXPECT_FALSE(acl->Changed());
  EXPECT_TRUE(acl->IsValidAcl());
  EXPECT_FALSE(InterfaceOf<IObjectAce>(acl->AceItems(0).get()));
}

TEST_F(AclTest, MalformedBinariesAreRefusedWhole) {
  auto longEntry = PlainAce(0, 0, 1, kUser);
  longEntry[2] = 200;  // AceSize past the list's end
  auto shortObject = ObjectAce(0, kUser);
  shortObject[2] = 8;  // too short for its object flags
  std::vector<std::vector<DWORD>> bad = {BinaryAcl({longEntry}), BinaryAcl({shortObject})};
  auto missing = BinaryAcl({PlainAce(0, 0, 1, kUser)});
  reinterpret_cast<ACL *>(missing.data())->AceCount = 2;
  bad.push_back(missing);
  for (auto &binary : bad) {
    IPtr<TIAcl> acl = FreeAcl(reinterpret_cast<const ACL *>(binary.data()));
    EXPECT_FALSE(acl->IsValid());
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_ACL), acl->LastErrorNo());
    EXPECT_EQ(0, acl->Count());
  }
  // An object entry whose flags promise GUIDs it lacks leaves no room for its SID.
  auto hollow = BinaryAcl({ObjectAce(ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT, kUser, false)});
  IPtr<TIAcl> acl = FreeAcl(reinterpret_cast<const ACL *>(hollow.data()));
  ASSERT_EQ(1, acl->Count());
  IPtr<IAce> ace = acl->AceItems(0);
  EXPECT_FALSE(ace->Account()->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_ACL), ace->LastErrorNo());
}

TEST_F(AclTest, ClearLeavesAnEmptyListAndRemoveLeavesNone) {
  IPtr<TIAcl> acl = FreeAcl();
  EXPECT_FALSE(acl->Exists());
  EXPECT_EQ(nullptr, acl->RawAcl());
  acl->Clear();
  ASSERT_TRUE(acl->Exists());
  EXPECT_EQ(8, acl->AclSize());
  EXPECT_EQ(0, acl->RawAcl()->AceCount);
  EXPECT_EQ(ACL_REVISION, acl->RawAcl()->AclRevision);
  EXPECT_TRUE(acl->Changed());
  acl->Remove();
  EXPECT_EQ(nullptr, acl->RawAcl());
  EXPECT_EQ(0, acl->AclSize());
}

TEST_F(AclTest, GrowthByHalfStaysAlignedAndReusesRoom) {
  IPtr<TIAcl> acl = FreeAcl();
  acl->MakeExists();
  IPtr<IAccount> system = Account(kSystem);  // SID of 12 bytes: an entry of 20
  ASSERT_EQ(0, acl->AddAccess(system.get(), 1, 0, 0));
  EXPECT_EQ(28u, acl->UsedSize());
  EXPECT_EQ(44, acl->AclSize());  // 28 + 14, rounded up to a DWORD
  const ACL *before = acl->RawAcl();
  IPtr<IAccount> world = Account("S-1-5");  // no sub-authority: an entry of 16 bytes
  ASSERT_EQ(1, acl->AddAccess(world.get(), 2, 0, 0));
  EXPECT_EQ(before, acl->RawAcl());
  EXPECT_EQ(44u, acl->UsedSize());
  EXPECT_TRUE(acl->IsValidAcl());
  EXPECT_TRUE(IsValidAcl(const_cast<PACL>(acl->RawAcl())));
}

TEST_F(AclTest, TheListNeverPassesItsLargestSize) {
  IPtr<TIAcl> acl = FreeAcl();
  IPtr<IAccount> user = Account(kUser);  // entries of 36 bytes
  std::int32_t added = 0;
  while (acl->AddAccess(user.get(), 1, 0, 0) >= 0) ++added;
  EXPECT_EQ((0xFFFC - 8) / 36, added);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ALLOTTED_SPACE_EXCEEDED), acl->LastErrorNo());
  EXPECT_LE(acl->AclSize(), 0xFFFC);
  EXPECT_EQ(added, acl->Count());
  EXPECT_TRUE(acl->IsValidAcl());
}

TEST_F(AclTest, SetFileAccessReplacesTheAccountsEntries) {
  auto binary = BinaryAcl({PlainAce(0, 0, 1, kUser), PlainAce(0, 0, 2, kAdmins), PlainAce(1, 0, 4, kUser)});
  IPtr<TIAcl> acl = FreeAcl(reinterpret_cast<const ACL *>(binary.data()));
  IPtr<IAccount> user = Account(kUser);
  acl->SetFileAccess(user.get(), true);
  EXPECT_EQ((std::vector<SecurityAce>{{0, 0, 2, kAdmins}, {0, 3, 0x1F01FF, kUser}}), Entries(*acl));
  acl->SetFileAccess(user.get(), false);
  EXPECT_EQ(0x1200A9u, Entries(*acl)[1].mask);
  acl->SetFileAccess(nullptr, true);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), acl->LastErrorNo());
  EXPECT_TRUE(acl->IsValidAcl());
}

TEST_F(AclTest, PrinterAccessUsesThePrinterMasks) {
  IPtr<TIAcl> acl = FreeAcl();
  IPtr<IAccount> user = Account(kUser);
  acl->SetPrinterAccess(user.get(), true);
  EXPECT_EQ((std::vector<SecurityAce>{{0, 0, 0xF000C, kUser}, {0, 9, 0xF0010, kUser}}), Entries(*acl));
  acl->SetPrinterAccess(user.get(), false);
  EXPECT_EQ((std::vector<SecurityAce>{{0, 0, 0x20008, kUser}}), Entries(*acl));
}

TEST_F(AclTest, InsertFindAndDeleteKeepBytesAndObjectsInStep) {
  IPtr<TIAcl> acl = FreeAcl();
  IPtr<IAccount> user = Account(kUser), admins = Account(kAdmins), system = Account(kSystem);
  acl->AddAccess(user.get(), 1, 0, 0);
  acl->AddAccess(system.get(), 2, 0, 0);
  IPtr<IAce> stray = NewAce(admins.get(), 4, 1, 2);
  EXPECT_EQ(0, acl->Insert(stray.get(), 0));
  EXPECT_EQ(3, acl->Insert(stray.get(), 99));
  stray->SetAccess(8);  // the entry given stays outside the list
  EXPECT_EQ((std::vector<SecurityAce>{{1, 2, 4, kAdmins}, {0, 0, 1, kUser}, {0, 0, 2, kSystem}, {1, 2, 4, kAdmins}}),
            Entries(*acl));
  EXPECT_EQ(-1, acl->Insert(stray.get(), -1));
  EXPECT_EQ(kErrorInvalidIndex, acl->LastErrorNo());
  EXPECT_EQ(acl->AceItems(3).get(), acl->FindAce(admins.get(), 1).get());
  IPtr<IAce> none = acl->FindAce(Account("S-1-1-0").get(), 0);
  EXPECT_FALSE(none->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND), none->LastErrorNo());
  EXPECT_TRUE(acl->DeleteAccount(admins.get()));
  EXPECT_EQ((std::vector<SecurityAce>{{0, 0, 1, kUser}, {0, 0, 2, kSystem}}), Entries(*acl));
  EXPECT_FALSE(acl->DeleteAccount(admins.get()));
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND), acl->LastErrorNo());
  EXPECT_FALSE(acl->Delete(2));
  EXPECT_EQ(2, acl->RawAcl()->AceCount);
  EXPECT_TRUE(acl->IsValidAcl());
}

TEST_F(AclTest, AnEntryKeptAfterDeleteHasItsOwnBytesAndNoList) {
  IPtr<TIAcl> acl = FreeAcl();
  IPtr<IAccount> user = Account(kUser), system = Account(kSystem);
  acl->AddAccess(user.get(), 0x11, 0, 3);
  acl->AddAccess(system.get(), 0x22, 1, 0);
  IPtr<IAce> kept = acl->AceItems(0);
  EXPECT_EQ(acl.get(), static_cast<TIAcl *>(dynamic_cast<TIAcl *>(kept->OwnerAcl()->SelfObject())));
  ASSERT_TRUE(acl->Delete(0));
  EXPECT_EQ(0x11u, kept->Access());
  EXPECT_EQ(3, kept->AceFlags());
  EXPECT_EQ(kUser, kept->Account()->SidString());
  IPtr<IAcl> owner = kept->OwnerAcl();
  EXPECT_FALSE(owner->IsValid());
  EXPECT_EQ(kErrorAceWithoutAcl, kept->LastErrorNo());
  EXPECT_EQ("The Ace has no valid owner Acl.", owner->LastErrorStr());
  EXPECT_EQ(owner.get(), kept->OwnerAcl().get());
  EXPECT_EQ(kSystem, Entries(*acl)[0].sid);
  acl.reset();
  EXPECT_EQ(0x11u, kept->Access());
}

TEST_F(AclTest, AListTheSystemRefusesBecomesInvalidAndLetsItsEntriesGo) {
  auto binary = BinaryAcl({PlainAce(0, 0, 7, kUser)}, 2);  // AclSize not a multiple of 4
  IPtr<TIAcl> acl = FreeAcl(reinterpret_cast<const ACL *>(binary.data()));
  ASSERT_TRUE(acl->IsValid());
  IPtr<IAce> kept = acl->AceItems(0);
  EXPECT_FALSE(acl->IsValidAcl());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_ACL), acl->LastErrorNo());
  acl.reset();
  EXPECT_EQ(7u, kept->Access());
  EXPECT_FALSE(kept->OwnerAcl()->IsValid());
}

TEST_F(AclTest, EditsThroughEntriesMarkTheListChanged) {
  auto binary = BinaryAcl({PlainAce(0, 0, 1, kUser), ObjectAce(0, kSystem)});
  IPtr<TIAcl> acl = FreeAcl(reinterpret_cast<const ACL *>(binary.data()));
  IPtr<IAce> plain = acl->AceItems(0);
  plain->SetAccess(1);
  EXPECT_FALSE(acl->Changed());
  plain->SetAceType(5);
  EXPECT_EQ(kErrorAceTypeBoundary, plain->LastErrorNo());
  EXPECT_EQ("You can't change the Ace type from IObjectAce to IAce or vice versa.", plain->LastErrorStr());
  EXPECT_EQ(0, plain->AceType());
  EXPECT_FALSE(acl->Changed());
  plain->SetAceType(1);
  EXPECT_TRUE(acl->Changed());
  EXPECT_EQ(1, acl->RawAcl() ? reinterpret_cast<const BYTE *>(acl->RawAcl())[8] : -1);
  IPtr<IObjectAce> object = InterfaceOf<IObjectAce>(acl->AceItems(1).get());
  object->SetObjectTypeGuid(GUID{1, 2, 3, {4}});
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), object->LastErrorNo());
  object->SetObjectFlags(4);
  EXPECT_EQ(4u, object->ObjectFlags());
}

TEST_F(AclTest, PlaceholdersCarryTheirErrors) {
  IPtr<TIAcl> acl = FreeAcl();
  IPtr<IAce> outside = acl->AceItems(-1);
  EXPECT_FALSE(outside->IsValid());
  EXPECT_EQ("Index out of range.", outside->LastErrorStr());
  EXPECT_FALSE(outside->Account()->IsValid());
  EXPECT_EQ(kErrorInvalidObject, outside->Account()->LastErrorNo());
  IPtr<ISecurityObject> owner = acl->OwnerSecurityObject();
  EXPECT_FALSE(owner->IsValid());
  EXPECT_EQ("The Acl has no valid owner security object.", acl->LastErrorStr());
  EXPECT_EQ(owner.get(), acl->OwnerSecurityObject().get());
  EXPECT_THROW(NewAce(Account(kUser).get(), 1, 5, 0), SecurityLayerError);
  EXPECT_FALSE(NewAce(nullptr, 1, 0, 0)->IsValid());
  IPtr<TIAcl> invalid = MakeObject<TIAcl>(7u, std::string());
  EXPECT_EQ(-1, invalid->AddAccess(Account(kUser).get(), 1, 0, 0));
  EXPECT_EQ(kErrorInvalidObject, invalid->LastErrorNo());
}

}  // namespace
