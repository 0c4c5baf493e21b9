// The program's token: its user and privileges, enabling them, privilege names.
#include "security_test_support.h"

namespace {

using TokenTest = SecurityTest;

HANDLE OpenToken(DWORD access) {
  HANDLE token = nullptr;
  EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &token));
  return token;
}

std::vector<BYTE> Query(HANDLE token, TOKEN_INFORMATION_CLASS infoClass) {
  DWORD size = 0;
  EXPECT_FALSE(GetTokenInformation(token, infoClass, nullptr, 0, &size));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  std::vector<BYTE> data(size);
  EXPECT_TRUE(GetTokenInformation(token, infoClass, data.data(), size, &size));
  return data;
}

TEST_F(TokenTest, UserAndPrivilegesAreReadInTwoSteps) {
  HANDLE token = OpenToken(TOKEN_QUERY);
  auto user = Query(token, TokenUser);
  EXPECT_EQ(winsim::ProgramUserSid(), winsim::SidTextOf(reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid));
  auto privileges = Query(token, TokenPrivileges);
  auto *list = reinterpret_cast<TOKEN_PRIVILEGES *>(privileges.data());
  EXPECT_EQ(4 + 12 * list->PrivilegeCount, privileges.size());
  EXPECT_EQ(winsim::TokenPrivilegeStates().size(), list->PrivilegeCount);
  EXPECT_TRUE(CloseHandle(token));
}

TEST_F(TokenTest, QueriesAndAdjustmentsNeedTheRightAccess) {
  HANDLE token = OpenToken(TOKEN_ADJUST_PRIVILEGES);
  DWORD size = 0;
  EXPECT_FALSE(GetTokenInformation(token, TokenUser, nullptr, 0, &size));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  CloseHandle(token);
  token = OpenToken(TOKEN_QUERY);
  TOKEN_PRIVILEGES change = {1, {{{9, 0}, SE_PRIVILEGE_ENABLED}}};
  EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &change, sizeof change, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  CloseHandle(token);
}

TEST_F(TokenTest, AdjustingEnablesHeldPrivilegesAndReportsTheOthers) {
  winsim::SetTokenPrivileges({{"SeShutdownPrivilege", 0}, {"SeTakeOwnershipPrivilege", 0}});
  HANDLE token = OpenToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
  LUID shutdown, debug;
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "seshutdownprivilege", &shutdown));
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_DEBUG_NAME, &debug));
  EXPECT_EQ(19u, shutdown.LowPart);
  TOKEN_PRIVILEGES change = {1, {{shutdown, SE_PRIVILEGE_ENABLED}}};
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &change, sizeof change, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
  change.Privileges[0] = {debug, SE_PRIVILEGE_ENABLED};
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &change, sizeof change, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), GetLastError());
  auto states = winsim::TokenPrivilegeStates();
  ASSERT_EQ(2u, states.size());
  EXPECT_EQ(static_cast<DWORD>(SE_PRIVILEGE_ENABLED), states[0].attributes);
  EXPECT_EQ(0u, states[1].attributes);
  CloseHandle(token);
}

TEST_F(TokenTest, UnknownPrivilegeAndRefusedToken) {
  LUID luid;
  EXPECT_FALSE(LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &luid));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_PRIVILEGE), GetLastError());
  winsim::RefuseOpenProcessToken(ERROR_ACCESS_DENIED);
  HANDLE token = nullptr;
  EXPECT_FALSE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_EQ(0, winsim::OpenHandleCount());
}

}  // namespace
