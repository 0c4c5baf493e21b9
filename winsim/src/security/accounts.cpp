// The account database: LookupAccountSidA, LookupAccountNameA, GetUserNameA.
#include <cstring>
#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "security/security_state.h"

using namespace winsim::detail;

namespace {

bool SameAccountName(const std::string &a, const std::string &b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

const Account *AccountBySid(const SidBytes &sid) {
  for (auto &account : Security().accounts)
    if (account.sid == sid) return &account;
  return nullptr;
}

// "name" or "DOMAIN\name".
const Account *AccountByName(const std::string &full) {
  std::string domain, name = full;
  auto slash = full.find('\\');
  if (slash != std::string::npos) {
    domain = full.substr(0, slash);
    name = full.substr(slash + 1);
  }
  for (auto &account : Security().accounts)
    if (SameAccountName(account.name, name) &&
        (slash == std::string::npos || SameAccountName(account.domain, domain)))
      return &account;
  return nullptr;
}

// Copies text with its terminator when it fits; the needed size otherwise.
bool Fits(const std::string &text, DWORD *length) { return length && *length > text.size(); }

void CopyOut(const std::string &text, LPSTR buffer, LPDWORD length) {
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  *length = static_cast<DWORD>(text.size());
}

}  // namespace

BOOL WINAPI LookupAccountSidA(LPCSTR, PSID sid, LPSTR name, LPDWORD nameLength, LPSTR domain, LPDWORD domainLength,
                              PSID_NAME_USE use) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("LookupAccountSidA", SidToText(SidAt(sid)));
  if (unsigned fault = InjectedFault("LookupAccountSidA")) {
    SetLastError(fault);
    return FALSE;
  }
  if (!ValidSidAt(sid) || !nameLength || !domainLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Account *account = AccountBySid(SidAt(sid));
  if (!account) {
    SetLastError(ERROR_NONE_MAPPED);
    return FALSE;
  }
  if (!name || !domain || !Fits(account->name, nameLength) || !Fits(account->domain, domainLength)) {
    *nameLength = static_cast<DWORD>(account->name.size() + 1);
    *domainLength = static_cast<DWORD>(account->domain.size() + 1);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  CopyOut(account->name, name, nameLength);
  CopyOut(account->domain, domain, domainLength);
  if (use) *use = account->use;
  return TRUE;
}

BOOL WINAPI LookupAccountNameA(LPCSTR, LPCSTR accountName, PSID sid, LPDWORD sidLength, LPSTR domain,
                               LPDWORD domainLength, PSID_NAME_USE use) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("LookupAccountNameA", accountName ? accountName : "");
  if (unsigned fault = InjectedFault("LookupAccountNameA")) {
    SetLastError(fault);
    return FALSE;
  }
  if (!accountName || !sidLength || !domainLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Account *account = AccountByName(accountName);
  if (!account) {
    SetLastError(ERROR_NONE_MAPPED);
    return FALSE;
  }
  if (!sid || !domain || *sidLength < account->sid.size() || !Fits(account->domain, domainLength)) {
    *sidLength = static_cast<DWORD>(account->sid.size());
    *domainLength = static_cast<DWORD>(account->domain.size() + 1);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(sid, account->sid.data(), account->sid.size());
  *sidLength = static_cast<DWORD>(account->sid.size());
  CopyOut(account->domain, domain, domainLength);
  if (use) *use = account->use;
  return TRUE;
}

BOOL WINAPI GetUserNameA(LPSTR buffer, LPDWORD size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("GetUserNameA");
  if (unsigned fault = InjectedFault("GetUserNameA")) {
    SetLastError(fault);
    return FALSE;
  }
  const std::string &name = Security().userName;
  if (!size || !buffer || *size <= name.size()) {
    if (size) *size = static_cast<DWORD>(name.size() + 1);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size() + 1);
  return TRUE;
}
