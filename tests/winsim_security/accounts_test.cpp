// The account database: names and SIDs both ways, with the size protocol.
#include "security_test_support.h"

namespace {

using AccountsTest = SecurityTest;

TEST_F(AccountsTest, SidToNameTellsTheSizesFirst) {
  auto sid = winsim::SidBytesOf("S-1-5-32-544");
  DWORD nameLength = 0, domainLength = 0;
  SID_NAME_USE use;
  EXPECT_FALSE(LookupAccountSidA(nullptr, sid.data(), nullptr, &nameLength, nullptr, &domainLength, &use));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(15u, nameLength);
  EXPECT_EQ(8u, domainLength);
  std::string name(nameLength, '\0'), domain(domainLength, '\0');
  ASSERT_TRUE(LookupAccountSidA(nullptr, sid.data(), &name[0], &nameLength, &domain[0], &domainLength, &use));
  EXPECT_EQ("Administrators", name.substr(0, nameLength));
  EXPECT_EQ("BUILTIN", domain.substr(0, domainLength));
  EXPECT_EQ(SidTypeAlias, use);
}

TEST_F(AccountsTest, NameToSidWithOrWithoutDomain) {
  for (const char *name : {"utilisateur", "POSTE-01\\Utilisateur"}) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidLength = 0, domainLength = 0;
    SID_NAME_USE use;
    EXPECT_FALSE(LookupAccountNameA(nullptr, name, nullptr, &sidLength, nullptr, &domainLength, &use));
    EXPECT_EQ(28u, sidLength);
    char domain[64];
    domainLength = sizeof domain;
    ASSERT_TRUE(LookupAccountNameA(nullptr, name, sid, &sidLength, domain, &domainLength, &use)) << name;
    EXPECT_EQ(winsim::ProgramUserSid(), winsim::SidTextOf(sid));
    EXPECT_EQ(std::string("POSTE-01"), domain);
    EXPECT_EQ(SidTypeUser, use);
  }
}

TEST_F(AccountsTest, UnknownAccountsAreNotMapped) {
  auto sid = winsim::SidBytesOf("S-1-5-21-1-2-3-4");
  char name[64], domain[64];
  DWORD nameLength = 64, domainLength = 64;
  EXPECT_FALSE(LookupAccountSidA(nullptr, sid.data(), name, &nameLength, domain, &domainLength, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NONE_MAPPED), GetLastError());
  DWORD sidLength = 0;
  EXPECT_FALSE(LookupAccountNameA(nullptr, "Personne", nullptr, &sidLength, nullptr, &domainLength, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NONE_MAPPED), GetLastError());
  winsim::AddAccount("Personne", "POSTE-01", "S-1-5-21-1-2-3-4", SidTypeUser);
  nameLength = domainLength = 64;
  EXPECT_TRUE(LookupAccountSidA(nullptr, sid.data(), name, &nameLength, domain, &domainLength, nullptr));
  EXPECT_EQ(std::string("Personne"), name);
}

TEST_F(AccountsTest, SidTextBothWays) {
  PSID sid = nullptr;
  ASSERT_TRUE(ConvertStringSidToSidA("S-1-5-21-1-2-3-500", &sid));
  EXPECT_EQ(28u, GetLengthSid(sid));
  EXPECT_EQ(500u, *GetSidSubAuthority(sid, 4));
  LPSTR text = nullptr;
  ASSERT_TRUE(ConvertSidToStringSidA(sid, &text));
  EXPECT_EQ(std::string("S-1-5-21-1-2-3-500"), text);
  LocalFree(text);
  LocalFree(sid);
  for (const char *bad : {"S-1-", "S-1-5-", "S-1-5--18", "S-2-5-18", "S-1-5-4294967296"})
    EXPECT_FALSE(ConvertStringSidToSidA(bad, &sid)) << bad;
  EXPECT_EQ(0, winsim::LiveLocalAllocations());
}

}  // namespace
