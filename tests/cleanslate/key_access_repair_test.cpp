// The access repair: the five named-object calls, and what a locked key looks
// like afterwards; and the repair through the key itself for a key that
// refuses to be examined, which never follows a link.
#include "cleanslate/key_access_repair.h"
#include "cleanslate/enciphered_constants.h"
#include "cleanslate/key_itself_repair.h"
#include "cleanslate/privileges.h"
#include "cleanslate/registry_tree.h"

#include "reset_world.h"
#include "winsim/security.h"

namespace {

const char kOther[] = "S-1-5-21-1-2-3-500";
const DWORD kFull = 0x001F01FF;

class KeyAccessRepairTest : public ResetWorld {
 protected:
  void SetUp() override {
    ResetWorld::SetUp();
    user_ = winsim::ProgramUserSid();
    winsim::AddAccount("Administrateur", "POSTE-01", kOther, SidTypeUser);
  }
  // Owned by another account, whose list gives the program's user nothing.
  static void LockKey(const std::string &path) {
    winsim::SetKeySecurity(HKEY_CURRENT_USER, path, kOther, {{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, kOther}}, true);
  }
  static std::vector<std::string> NamedCalls() {
    std::vector<std::string> calls;
    for (auto &call : winsim::Trace())
      if (call.function == "GetSecurityInfo" || call.function == "SetSecurityInfo")
        calls.push_back(call.function.substr(0, 3) + " " + call.detail);
    return calls;
  }
  // The key's own entries (not those it inherits).
  static std::vector<winsim::SecurityAce> OwnEntries(const std::string &path) {
    std::vector<winsim::SecurityAce> own;
    for (auto &ace : winsim::KeySecurityOf(HKEY_CURRENT_USER, path).dacl)
      if (!(ace.flags & INHERITED_ACE)) own.push_back(ace);
    return own;
  }
  std::string user_;
};

TEST_F(KeyAccessRepairTest, FiveCallsInOrderThroughTheKeysOwnHandle) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Control Panel\\Appearance");
  RepairUserKey("Control Panel\\Appearance");
  const std::string name = "HKEY_CURRENT_USER\\Control Panel\\Appearance";
  EXPECT_EQ(0u, winsim::CountCalls("GetNamedSecurityInfoW") + winsim::CountCalls("SetNamedSecurityInfoW"));
  EXPECT_EQ((std::vector<std::string>{"Get " + name + "|0x4", "Set " + name + "|0x20000004", "Set " + name + "|0x1",
                                      "Get " + name + "|0x4", "Set " + name + "|0x4"}),
            NamedCalls());
  EXPECT_EQ((std::vector<winsim::SecurityAce>{{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, user_}}),
            OwnEntries("Control Panel\\Appearance"));
}

TEST_F(KeyAccessRepairTest, ALockedKeyEndsOwnedByTheUserWithOneInheritableFullRule) {
  LockKey("Software\\Bags");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1");
  EnablePrivileges();
  RepairUserKey("Software\\Bags");
  auto security = winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\Bags");
  EXPECT_EQ(user_, security.owner);
  EXPECT_EQ((std::vector<winsim::SecurityAce>{{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, user_}}), OwnEntries("Software\\Bags"));
  // Taken through the key itself first: inheritance is on again at once, and
  // a second repair changes nothing.
  EXPECT_FALSE(security.daclProtected);
  RepairUserKey("Software\\Bags");
  EXPECT_FALSE(winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\Bags").daclProtected);
  EXPECT_EQ((std::vector<winsim::SecurityAce>{{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, user_}}), OwnEntries("Software\\Bags"));
  StartRegistryRun();
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegTree(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags"));
}

TEST_F(KeyAccessRepairTest, WithoutTheOwnershipPrivilegeALockedKeyStaysLocked) {
  LockKey("Software\\Bags");
  winsim::SetTokenPrivileges({{"SeShutdownPrivilege", 0}});
  RepairUserKey("Software\\Bags");
  EXPECT_EQ(kOther, winsim::KeySecurityOf(HKEY_CURRENT_USER, "Software\\Bags").owner);
}

TEST_F(KeyAccessRepairTest, AMissingKeyIsLeftAloneAndNothingIsCreated) {
  RepairUserKey("Software\\Absent");
  EXPECT_FALSE(KeyExists("Software\\Absent"));
  // Every step fails quietly: the list cannot be read, so none is written.
  for (auto &call : NamedCalls()) EXPECT_NE("Set CURRENT_USER\\Software\\Absent|0x4", call);
}

TEST_F(KeyAccessRepairTest, ALockedKeyInATreeIsRepairedThroughItselfThenDeleted) {
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\Ferme\\Dedans");
  LockKey("Software\\Bags\\Ferme");
  EnablePrivileges();
  StartRegistryRun();
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegTree(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags"));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  // The owner first, through a handle asking for nothing else, then the list.
  std::vector<std::string> writes;
  for (auto &detail : Details("SetSecurityInfo"))
    if (detail.find("Ferme|") != std::string::npos) writes.push_back(detail);
  ASSERT_LE(2u, writes.size());
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Bags\\Ferme|0x1", writes[0]);
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Bags\\Ferme|0x20000004", writes[1]);
}

TEST_F(KeyAccessRepairTest, ALockedLinkIsRepairedItselfAndRemovedWithoutTouchingItsTarget) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible\\Dedans");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Bags\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible", kOther, {{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, kOther}},
                         true);
  EnablePrivileges();
  StartRegistryRun();
  EXPECT_EQ(ERROR_SUCCESS, DeleteRegTree(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags"));
  EXPECT_FALSE(KeyExists("Software\\Bags"));
  auto target = winsim::KeySecurityOf(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  EXPECT_EQ(kOther, target.owner);
  EXPECT_TRUE(target.daclProtected);
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible\\Dedans"));
}

TEST_F(KeyAccessRepairTest, RepairOfTheKeyItselfNeverReachesALinksTarget) {
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible", kOther, {{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, kOther}},
                         true);
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible");
  EnablePrivileges();
  EXPECT_TRUE(RepairKeyItself(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Lien"));
  EXPECT_EQ(kOther, winsim::KeySecurityOf(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible").owner);
  EXPECT_TRUE(winsim::KeySecurityOf(HKEY_LOCAL_MACHINE, "SOFTWARE\\Cible").daclProtected);
}

}  // namespace
