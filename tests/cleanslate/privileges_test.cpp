// Enabling the token's privileges, except the two kept as they were.
#include "cleanslate/privileges.h"

#include "reset_world.h"
#include "winsim/security.h"

namespace {

class PrivilegesTest : public ResetWorld {
 protected:
  static DWORD AttributesOf(const std::string &name) {
    for (auto &state : winsim::TokenPrivilegeStates())
      if (state.name == name) return state.attributes;
    ADD_FAILURE() << name << " is not in the token";
    return 0;
  }
};

TEST_F(PrivilegesTest, EveryPrivilegeButTheKeptOnesIsEnabledAndOtherBitsStay) {
  winsim::SetTokenPrivileges({{"SeShutdownPrivilege", 0},
                              {"SeBackupPrivilege", 0},
                              {"SeTakeOwnershipPrivilege", 0},
                              {"SeRestorePrivilege", SE_PRIVILEGE_ENABLED},
                              {"SeChangeNotifyPrivilege", SE_PRIVILEGE_ENABLED | SE_PRIVILEGE_ENABLED_BY_DEFAULT}});
  EnablePrivileges();
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), AttributesOf("SeShutdownPrivilege"));
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), AttributesOf("SeTakeOwnershipPrivilege"));
  EXPECT_EQ(0u, AttributesOf("SeBackupPrivilege"));
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), AttributesOf("SeRestorePrivilege"));
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED | SE_PRIVILEGE_ENABLED_BY_DEFAULT),
            AttributesOf("SeChangeNotifyPrivilege"));
  EXPECT_EQ((std::vector<std::string>{std::to_string(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY)}),
            Details("OpenProcessToken"));
  EXPECT_EQ((std::vector<std::string>{"SeBackupPrivilege", "SeRestorePrivilege"}), Details("LookupPrivilegeValueA"));
}

TEST_F(PrivilegesTest, ATokenWithoutTheKeptPrivilegesGetsAllEnabled) {
  winsim::SetTokenPrivileges({{"SeShutdownPrivilege", 0}, {"SeSecurityPrivilege", 0}});
  EnablePrivileges();
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), AttributesOf("SeShutdownPrivilege"));
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), AttributesOf("SeSecurityPrivilege"));
}

TEST_F(PrivilegesTest, ATokenThatCannotBeOpenedOrReadIsLeftAsItWas) {
  winsim::SetTokenPrivileges({{"SeShutdownPrivilege", 0}});
  winsim::RefuseOpenProcessToken(ERROR_ACCESS_DENIED);
  EnablePrivileges();
  EXPECT_EQ(0u, AttributesOf("SeShutdownPrivilege"));
  winsim::RefuseOpenProcessToken(0);
  winsim::FailNext("GetTokenInformation", ERROR_ACCESS_DENIED, 1);
  EnablePrivileges();
  EXPECT_EQ(0u, AttributesOf("SeShutdownPrivilege"));
  EXPECT_EQ(0u, winsim::CountCalls("AdjustTokenPrivileges"));
}

}  // namespace
