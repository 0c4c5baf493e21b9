// Accounts: SID text both ways, lookups in both directions and through the
// cache, the current user from the token, and placeholders.
#include "security_layer_support.h"

#include "security/account_cache.h"

namespace {

using AccountTest = LayerTest;

struct ParsedSid {
  int authority;
  std::vector<DWORD> subs;
};

ParsedSid Parsed(PSID sid) {
  ParsedSid parsed{GetSidIdentifierAuthority(sid)->Value[5], {}};
  for (UCHAR i = 0; i < *GetSidSubAuthorityCount(sid); ++i) parsed.subs.push_back(*GetSidSubAuthority(sid, i));
  return parsed;
}

TEST_F(AccountTest, SidTextParsesIntoAuthorityAndSubAuthorities) {
  PSID sid = ParseSidString("S-1-5-32-544");
  ASSERT_NE(nullptr, sid);
  EXPECT_EQ(5, Parsed(sid).authority);
  EXPECT_EQ((std::vector<DWORD>{32, 544}), Parsed(sid).subs);
  FreeSid(sid);
  sid = ParseSidString("s-1-5-18");
  ASSERT_NE(nullptr, sid);
  FreeSid(sid);
  sid = ParseSidString("S-1-5-1-2-3-4-5-6-7-4294967295");
  ASSERT_NE(nullptr, sid);
  EXPECT_EQ(4294967295u, Parsed(sid).subs.back());
  FreeSid(sid);
}

TEST_F(AccountTest, MalformedOrOversizedSidTextGivesNoSid) {
  for (const char *text : {"S-1-5--18", "S-1-x", "S-1-256-1", "S-1-5-", "S-1-", "S-2-5-18", "X-1-5-18", "S-1-5-18a",
                           "S-1-5-4294967296", "S-1-5-99999999999999999999", "S-1-5-1-2-3-4-5-6-7-8-9"})
    EXPECT_EQ(nullptr, ParseSidString(text)) << text;
}

TEST_F(AccountTest, SidStringWritesDecimalParts) {
  IPtr<IAccount> account = Account("S-1-5-21-1-2-3-500");
  EXPECT_EQ("S-1-5-21-1-2-3-500", account->SidString());
  EXPECT_EQ(28u, account->SidSize());
}

TEST_F(AccountTest, SidTextNamesAnAccountWithoutANameLookup) {
  IPtr<IAccount> system = AccountByName("S-1-5-18", 0);
  EXPECT_TRUE(system->IsValid());
  EXPECT_EQ(0u, winsim::CountCalls("LookupAccountNameA"));
  EXPECT_EQ(0u, winsim::CountCalls("LookupAccountSidA"));
  // One lookup: a call for the sizes, then the call itself.
  EXPECT_EQ("SYSTEM", system->Name());
  EXPECT_EQ(2u, winsim::CountCalls("LookupAccountSidA"));
  EXPECT_EQ("NT AUTHORITY", system->Domain());
  EXPECT_EQ(SidTypeWellKnownGroup, system->AccountType());
  EXPECT_EQ(2u, winsim::CountCalls("LookupAccountSidA"));
}

TEST_F(AccountTest, NamesResolveToSidsAtOnce) {
  IPtr<IAccount> admins = AccountByName("Administrators", 0);
  EXPECT_EQ(2u, winsim::CountCalls("LookupAccountNameA"));
  EXPECT_EQ("S-1-5-32-544", admins->SidString());
  EXPECT_EQ("BUILTIN", admins->Domain());
  IPtr<IAccount> nobody = AccountByName("Personne", 0);
  EXPECT_FALSE(nobody->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_NONE_MAPPED), nobody->LastErrorNo());
  EXPECT_EQ(nullptr, nobody->Sid());
  EXPECT_EQ(kErrorInvalidObject, nobody->LastErrorNo());
}

TEST_F(AccountTest, TheCacheSharesAnAccountOnceBothHalvesAreKnown) {
  winsim::AddAccount("Compta", "POSTE-01", "S-1-5-21-9-9-9-1200", SidTypeGroup);
  IPtr<IAccount> first = Account("S-1-5-21-9-9-9-1200");
  IPtr<IAccount> second = Account("S-1-5-21-9-9-9-1200");
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ("Compta", first->Name());
  IPtr<IAccount> third = Account("S-1-5-21-9-9-9-1200");
  EXPECT_EQ(first.get(), third.get());
  EXPECT_EQ(first.get(), AccountByName("Compta", 0).get());
  // Names in the cache match exactly.
  IPtr<IAccount> other = AccountByName("compta", 0);
  EXPECT_NE(first.get(), other.get());
  EXPECT_TRUE(first->IsEqual(other.get()));
}

TEST_F(AccountTest, UnknownSidsBecomeInvalidWhenNamed) {
  IPtr<IAccount> unknown = Account("S-1-5-21-4-4-4-4");
  EXPECT_TRUE(unknown->IsValid());
  EXPECT_EQ("", unknown->Name());
  EXPECT_FALSE(unknown->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_NONE_MAPPED), unknown->LastErrorNo());
  EXPECT_EQ("", unknown->Name());
  EXPECT_EQ(kErrorInvalidObject, unknown->LastErrorNo());
  EXPECT_EQ(0, AccountCache::Size());
}

TEST_F(AccountTest, EqualityNeedsTheSameValidity) {
  IPtr<IAccount> admins = AccountByName("Administrators", 0);
  IPtr<IAccount> placeholder = MakeObject<TIAccount>(5u, std::string());
  IPtr<IAccount> nameless = MakeObject<TIAccount>(0, nullptr, std::string());
  EXPECT_FALSE(nameless->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), nameless->LastErrorNo());
  EXPECT_FALSE(placeholder->IsEqual(nameless.get()));
  EXPECT_FALSE(admins->IsEqual(placeholder.get()));
  EXPECT_FALSE(admins->IsEqual(nullptr));
  EXPECT_TRUE(admins->IsEqual(Account("S-1-5-32-544").get()));
  EXPECT_FALSE(admins->IsEqual(Account("S-1-5-32-545").get()));
}

TEST_F(AccountTest, CurrentUserComesFromTheToken) {
  IPtr<IAccount> user = CurrentUserAccount();
  ASSERT_TRUE(user->IsValid());
  EXPECT_EQ(winsim::ProgramUserSid(), user->SidString());
  EXPECT_EQ("Utilisateur", user->Name());
  EXPECT_EQ(0, winsim::OpenHandleCount());
  winsim::SetProgramUser("Marie", "S-1-5-21-5-5-5-1001");
  EXPECT_EQ("Marie", CurrentUserAccount()->Name());
}

TEST_F(AccountTest, CurrentUserWithoutATokenIsAPlaceholder) {
  winsim::RefuseOpenProcessToken(ERROR_ACCESS_DENIED);
  IPtr<IAccount> user = CurrentUserAccount();
  EXPECT_FALSE(user->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_ACCESS_DENIED), user->LastErrorNo());
  winsim::RefuseOpenProcessToken(0);
  winsim::FailNext("GetTokenInformation", ERROR_NOT_ENOUGH_MEMORY, 1);
  user = CurrentUserAccount();
  EXPECT_FALSE(user->IsValid());
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_NOT_ENOUGH_MEMORY), user->LastErrorNo());
  EXPECT_EQ(0, winsim::OpenHandleCount());
}

}  // namespace
