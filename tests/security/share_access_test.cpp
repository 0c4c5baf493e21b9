// The Windows 9x family: share-level access lists of files and printers stand
// in for DACLs; NT-only objects and operations report 120.
#include "security_layer_support.h"

namespace {

class ShareAccessTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    winsim::SetOsVersion(winsim::Windows98SE());
  }
};

TEST_F(ShareAccessTest, AccessListIsReadAsEntries) {
  winsim::SetShareAccess("C:\\PARTAGE", {{"ALICE", 0x81}, {"STAFF", 0x80B7}, {"VIDE", 0}});
  IPtr<ISecurityObject> object = MakeObject<TISecurityObject>(nullptr, WidenText("C:\\PARTAGE"), SE_FILE_OBJECT);
  ASSERT_TRUE(object->IsValid());
  IPtr<IAcl> dacl = object->Dacl();
  ASSERT_TRUE(dacl->IsValid());
  EXPECT_TRUE(dacl->Exists());
  EXPECT_FALSE(dacl->Changed());
  ASSERT_EQ(2, dacl->Count());
  EXPECT_EQ("ALICE", dacl->AceItems(0)->Account()->Name());
  EXPECT_EQ(0x81u, dacl->AceItems(0)->Access());
  EXPECT_EQ(0, dacl->AceItems(0)->AceType());
  EXPECT_EQ(SidTypeGroup, dacl->AceItems(1)->Account()->AccountType());
  EXPECT_EQ(0xB7u, dacl->AceItems(1)->Access());
  EXPECT_EQ(dacl.get(), object->Dacl().get());
}

TEST_F(ShareAccessTest, ChangesAreWrittenBackAsAList) {
  winsim::SetShareAccess("C:\\PARTAGE", {{"ALICE", 0x81}});
  IPtr<ISecurityObject> object = MakeObject<TISecurityObject>(nullptr, WidenText("C:\\PARTAGE"), SE_FILE_OBJECT);
  {
    IPtr<IAcl> dacl = object->Dacl();
    dacl->SetFileAccess(AccountByName("ALICE", 0).get(), true);
    dacl->SetFileAccess(AccountByName("STAFF", 1).get(), false);
  }
  auto list = winsim::ShareAccessOf("C:\\PARTAGE");
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ((winsim::ShareAccessList{{"ALICE", 0xB7}, {"STAFF", 0x8081}}), *list);
  EXPECT_EQ((std::vector<std::string>{"NetAccessGetInfo", "NetAccessGetInfo", "NetAccessDel", "NetAccessAdd"}),
            winsim::CallSequence({"NetAccessGetInfo", "NetAccessDel", "NetAccessAdd"}));
}

TEST_F(ShareAccessTest, MissingAndEmptyLists) {
  IPtr<ISecurityObject> object = MakeObject<TISecurityObject>(nullptr, WidenText("C:\\NEUF"), SE_FILE_OBJECT);
  IPtr<IAcl> dacl = object->Dacl();
  ASSERT_TRUE(dacl->IsValid());
  EXPECT_FALSE(dacl->Exists());
  // A list that does not exist grants everybody full access when written.
  object->SetDacl(dacl.get());
  EXPECT_EQ((winsim::ShareAccessList{{"*", 0x80B7}}), *winsim::ShareAccessOf("C:\\NEUF"));
  dacl->Clear();
  object->SetDacl(dacl.get());
  EXPECT_FALSE(winsim::ShareAccessOf("C:\\NEUF").has_value());
}

TEST_F(ShareAccessTest, NtOnlyObjectsAndOperationsReport120) {
  IPtr<ISecurityObject> key = RegistryKeySecurity(WidenText("HKCU\\Software"));
  EXPECT_FALSE(key->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CALL_NOT_IMPLEMENTED), key->LastErrorNo());
  IPtr<ISecurityObject> printer = MakeObject<TISecurityObject>(nullptr, WidenText("LASER"), SE_PRINTER);
  WideString name = printer->ObjectName();
  EXPECT_EQ("\\PRINT\\LASER", std::string(name.begin(), name.end()));
  printer->Owner();
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CALL_NOT_IMPLEMENTED), printer->LastErrorNo());
  EXPECT_FALSE(printer->Sacl()->IsValid());
  IPtr<IAccount> user = CurrentUserAccount();
  EXPECT_EQ("Utilisateur", user->Name());
  EXPECT_EQ("", user->SidString());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CALL_NOT_IMPLEMENTED), user->LastErrorNo());
  EXPECT_TRUE(user->IsEqual(AccountByName("POSTE-01\\utilisateur", 0).get()));
}

}  // namespace
