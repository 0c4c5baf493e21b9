// Faults in the middle of the reset's steps: a user account that cannot be
// had while an access list is rebuilt, a link value that cannot be asked for,
// and a shell whose session cannot be told. None may lead the reset to change
// more than its fault-free run would.
#include "cleanslate/registry_links.h"
#include "cleanslate/registry_tree.h"
#include "cleanslate/shell_termination.h"

#include "reset_world.h"
#include "winsim/security.h"

namespace {

const char kOther[] = "S-1-5-21-1-2-3-500";
const DWORD kFull = 0x001F01FF;

class ResetFaultTest : public ResetWorld {
 protected:
  void SetUp() override {
    ResetWorld::SetUp();
    winsim::AddAccount("Administrateur", "POSTE-01", kOther, SidTypeUser);
    StartRegistryRun();
    ForgetProcessFunctions();
  }
  static std::vector<winsim::SecurityAce> OwnEntries(HKEY root, const std::string &path) {
    std::vector<winsim::SecurityAce> own;
    for (auto &ace : winsim::KeySecurityOf(root, path).dacl)
      if (!(ace.flags & INHERITED_ACE)) own.push_back(ace);
    return own;
  }
};

TEST_F(ResetFaultTest, AnAccessListIsNotEmptiedWhenTheUsersRuleCannotBeMade) {
  // The user owns the key and may read it, but may not take it anew.
  const std::vector<winsim::SecurityAce> own{{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, kOther},
                                             {ACCESS_ALLOWED_ACE_TYPE, 0, KEY_READ, winsim::ProgramUserSid()}};
  winsim::SetKeySecurity(HKEY_CURRENT_USER, "Control Panel\\Appearance", winsim::ProgramUserSid(), own, true);
  // The owner's account is had; the token cannot be read for the rule's.
  winsim::FailNext("OpenProcessToken", ERROR_ACCESS_DENIED, 1);
  RepairUserKey("Control Panel\\Appearance");
  EXPECT_EQ(own, OwnEntries(HKEY_CURRENT_USER, "Control Panel\\Appearance"));
  for (auto &detail : Details("SetSecurityInfo")) EXPECT_NE("|0x4", detail.substr(detail.rfind('|'))) << detail;

  // With the token readable again, the same repair gives the user's rule.
  RepairUserKey("Control Panel\\Appearance");
  EXPECT_EQ((std::vector<winsim::SecurityAce>{{ACCESS_ALLOWED_ACE_TYPE, 3, kFull, winsim::ProgramUserSid()}}),
            OwnEntries(HKEY_CURRENT_USER, "Control Panel\\Appearance"));
}

TEST_F(ResetFaultTest, AKeyThatCannotSayWhetherItIsALinkIsNeverFollowed) {
  const std::vector<winsim::SecurityAce> machineRule{{ACCESS_ALLOWED_ACE_TYPE, 0, kFull, kOther}};
  winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies", kOther, machineRule, true);
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Important");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Bags\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies");
  winsim::FailNext("RegQueryValueExA", ERROR_ACCESS_DENIED);
  UniqueRegKey opened;
  EXPECT_EQ(KeyLinkState::Unknown,
            OpenKeyPath(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags\\Lien", 0, false, opened).state);
  EXPECT_FALSE(opened);

  // In a tree: the query of the link's value is the one that fails.
  size_t query = 0;
  {
    DeleteRegTree(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags");
    auto queries = winsim::CallsTo("RegQueryValueExA");
    while (query < queries.size() && queries[query].detail.find("\\Lien|") == std::string::npos) ++query;
  }
  TearDown();
  SetUp();
  winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies", kOther, machineRule, true);
  winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Important");
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Software\\Bags\\1");
  winsim::CreateRegistryLink(HKEY_CURRENT_USER, "Software\\Bags\\Lien", HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies");
  winsim::FailNext("RegQueryValueExA", ERROR_ACCESS_DENIED, static_cast<int>(query));
  DeleteRegTree(kDefaultRegistryView, HKEY_CURRENT_USER, "Software\\Bags");
  EXPECT_EQ(machineRule, OwnEntries(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies"));
  EXPECT_EQ(kOther, winsim::KeySecurityOf(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies").owner);
  EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Important"));
  for (auto &detail : Details("SetSecurityInfo")) EXPECT_EQ(std::string::npos, detail.find("Lien")) << detail;
}

TEST_F(ResetFaultTest, AShellWhoseSessionCannotBeToldIsLeftRunningAndCountsAsNotEnded) {
  DWORD mine = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  DWORD unknown = winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  // The program's own session, then the first shell's, answer; the second's does not.
  winsim::FailNext("ProcessIdToSessionId", ERROR_ACCESS_DENIED, 2);
  EXPECT_FALSE(TerminateProcessByName("explorer.exe"));
  EXPECT_EQ(4u, winsim::ProcessExitCode(mine).value_or(0));
  EXPECT_FALSE(winsim::ProcessExitCode(unknown).has_value());
}

}  // namespace
