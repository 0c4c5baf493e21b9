#include "security/account.h"

#include <cstring>

#include "common/unique_any.h"
#include "security/account_cache.h"
#include "security/os_info.h"
#include "security/text_helpers.h"

namespace {

bool Win9x() { return OsInfo().win9x; }

// The SID's bytes copied into DWORD-aligned storage.
std::vector<DWORD> CopyOfSid(PSID sid) {
  DWORD length = GetLengthSid(sid);
  std::vector<DWORD> copy((length + 3) / 4);
  std::memcpy(copy.data(), sid, length);
  return copy;
}

}  // namespace

TIAccount::TIAccount(std::uint8_t typeHint, PSID sid, const std::string &name) : name_(name) {
  if (name.empty() && !sid) {
    SetValid(false);
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return;
  }
  if (sid) sid_ = CopyOfSid(sid);
  if (Win9x()) accountType_ = (typeHint == 1 || (typeHint > 1 && name == "*")) ? SidTypeGroup : SidTypeUser;
}

TIAccount::TIAccount(std::uint32_t errorNo, const std::string &errorText) : TIBasic(errorNo, errorText) {}

IBasic *TIAccount::MainInterface() { return static_cast<IAccount *>(this); }

void *TIAccount::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_IAccount)) return static_cast<IAccount *>(this);
  return TIBasic::FindInterface(iid);
}

void TIAccount::Forget(std::uint32_t error) {
  SetValid(false);
  domain_.clear();
  SetLastError(error, std::string());
}

bool TIAccount::LookupName() {
  DWORD nameLength = 0, domainLength = 0;
  SID_NAME_USE use = SidTypeUnknown;
  PSID sid = sid_.data();
  LookupAccountSidA(nullptr, sid, nullptr, &nameLength, nullptr, &domainLength, &use);
  std::string name(nameLength + 1, '\0'), domain(domainLength + 1, '\0');
  if (!LookupAccountSidA(nullptr, sid, &name[0], &nameLength, &domain[0], &domainLength, &use)) {
    name_.clear();
    Forget(GetLastError());
    return false;
  }
  accountType_ = static_cast<std::uint8_t>(use);
  name_ = name.c_str();
  domain_ = domain.c_str();
  AccountCache::Insert(this);
  return true;
}

bool TIAccount::LookupSid() {
  if (Win9x()) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return false;
  }
  DWORD sidLength = 0, domainLength = 0;
  SID_NAME_USE use = SidTypeUnknown;
  LookupAccountNameA(nullptr, name_.c_str(), nullptr, &sidLength, nullptr, &domainLength, &use);
  std::vector<DWORD> sid((sidLength + 3) / 4 + 1);
  std::string domain(domainLength + 1, '\0');
  sidLength = static_cast<DWORD>(sid.size() * 4);
  if (!LookupAccountNameA(nullptr, name_.c_str(), sid.data(), &sidLength, &domain[0], &domainLength, &use)) {
    Forget(GetLastError());
    return false;
  }
  sid_ = std::move(sid);
  accountType_ = static_cast<std::uint8_t>(use);
  domain_ = domain.c_str();
  AccountCache::Insert(this);
  return true;
}

bool TIAccount::ValidateSid() {
  if (!CheckValid() || Win9x()) return IsValid();
  PSID sid = Sid();
  if (sid && !IsValidSid(sid)) {
    SetValid(false);
    SetLastError(GetLastError(), std::string());
  }
  return IsValid();
}

std::string TIAccount::Name() {
  if (!CheckValid()) return std::string();
  if (name_.empty() && !sid_.empty()) LookupName();
  return name_;
}

std::uint8_t TIAccount::AccountType() {
  if (!CheckValid()) return 0;
  if (!Win9x()) {
    if (sid_.empty() && !LookupSid()) return 0;
    if (name_.empty() && !LookupName()) return 0;
  }
  return accountType_;
}

std::string TIAccount::Domain() {
  if (!CheckValid()) return std::string();
  if (!Win9x()) {
    if (sid_.empty() && !LookupSid()) return std::string();
    if (name_.empty() && !LookupName()) return std::string();
  }
  return domain_;
}

PSID TIAccount::Sid() {
  if (!CheckValid()) return nullptr;
  if (sid_.empty() && !LookupSid()) return nullptr;
  return sid_.data();
}

std::uint32_t TIAccount::SidSize() {
  PSID sid = Sid();
  return sid ? GetLengthSid(sid) : 0;
}

std::string TIAccount::SidString() {
  if (!CheckValid()) return std::string();
  if (Win9x()) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return std::string();
  }
  PSID sid = Sid();
  if (!sid) return std::string();
  // Revision 1 always, and only the last authority byte.
  std::string text = "S-1-" + SidNumberText(GetSidIdentifierAuthority(sid)->Value[5], false);
  UCHAR count = *GetSidSubAuthorityCount(sid);
  for (UCHAR i = 0; i < count; ++i) text += "-" + SidNumberText(*GetSidSubAuthority(sid, i), false);
  return text;
}

bool TIAccount::IsEqual(IAccount *other) {
  if (!other) return false;
  if (other == static_cast<IAccount *>(this)) return true;
  if (other->IsValid() != IsValid()) return false;
  if (!IsValid()) return false;
  if (Win9x()) {
    std::string mine = Name(), theirs = other->Name();
    if (SameText(mine, theirs)) return true;
    auto after = [](const std::string &text) { return text.substr(text.find('\\') + 1); };
    bool mineHas = mine.find('\\') != std::string::npos, theirsHas = theirs.find('\\') != std::string::npos;
    if (mineHas != theirsHas) return mineHas ? SameText(after(mine), theirs) : SameText(mine, after(theirs));
    return false;
  }
  PSID mine = Sid(), theirs = other->Sid();
  return mine && theirs && EqualSid(mine, theirs);
}

PSID ParseSidString(const std::string &text) {
  if (text.size() <= 4 || (text[0] != 'S' && text[0] != 's') || text.compare(1, 3, "-1-") != 0 ||
      text[4] < '0' || text[4] > '9')
    return nullptr;
  std::vector<std::uint32_t> numbers;
  size_t start = 4;
  while (true) {
    size_t end = text.find('-', start);
    std::uint32_t value = 0;
    // Empty numbers, other characters and numbers above 0xFFFFFFFF give no SID.
    if (!ParseSidNumber(text.substr(start, end == std::string::npos ? std::string::npos : end - start), value))
      return nullptr;
    numbers.push_back(value);
    if (end == std::string::npos) break;
    if (numbers.size() == 9) return nullptr;
    start = end + 1;
  }
  if (numbers[0] > 255) return nullptr;
  SID_IDENTIFIER_AUTHORITY authority = {{0, 0, 0, 0, 0, static_cast<BYTE>(numbers[0])}};
  DWORD subs[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  for (size_t i = 1; i < numbers.size(); ++i) subs[i - 1] = numbers[i];
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&authority, static_cast<BYTE>(numbers.size() - 1), subs[0], subs[1], subs[2], subs[3],
                                subs[4], subs[5], subs[6], subs[7], &sid))
    return nullptr;
  return sid;
}

IPtr<IAccount> AccountBySid(PSID sid) {
  if (IPtr<IAccount> known = AccountCache::FindBySid(sid)) return known;
  if (!sid) return MakeObject<TIAccount>(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), std::string());
  IPtr<IAccount> account = MakeObject<TIAccount>(2, sid, std::string());
  account->ValidateSid();
  return account;
}

IPtr<IAccount> AccountByName(const std::string &name, std::uint8_t typeHint) {
  if (!(GetVersion() & 0x80000000u)) {
    // Freed with FreeSid on every path, the lookup's exceptions included.
    UniqueAny<PSID, FreeAllocatedSid> sid(ParseSidString(name));
    if (sid) return AccountBySid(sid.Get());
  }
  if (IPtr<IAccount> known = AccountCache::FindByName(name)) return known;
  IPtr<IAccount> account = MakeObject<TIAccount>(typeHint, nullptr, name);
  account->ValidateSid();
  return account;
}

namespace {

IPtr<IAccount> FailedAccount(DWORD error) { return MakeObject<TIAccount>(static_cast<std::uint32_t>(error), std::string()); }

}  // namespace

IPtr<IAccount> CurrentUserAccount() {
  if (OsInfo().win9x) {
    char name[260];
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return FailedAccount(GetLastError());
    return AccountByName(name, 2);
  }
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return FailedAccount(GetLastError());
  DWORD length = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &length);
  if (length == 0) return FailedAccount(GetLastError());
  // Twice the length asked for; pointer-aligned for the record inside.
  std::vector<ULONG_PTR> buffer((2 * length + sizeof(ULONG_PTR) - 1) / sizeof(ULONG_PTR));
  if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), 2 * length, &length))
    return FailedAccount(GetLastError());
  return AccountBySid(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid);
}
