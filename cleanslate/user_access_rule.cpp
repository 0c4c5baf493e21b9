#include "cleanslate/user_access_rule.h"

#include "common/proc_lookup.h"
#include "common/unique_any.h"

namespace {
// From Windows 2000 on: looked up, so that the program still loads (and says
// it is not compatible) on older systems.
using AddAccessAllowedAceExFn = decltype(&::AddAccessAllowedAceEx);
const DWORD kFullKeyAccess = 0x001F01FF;
const DWORD kInheritedBySubkeys = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
}  // namespace

std::vector<BYTE> CurrentUserSid() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::vector<BYTE> user(size);
  if (!GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size)) return {};
  PSID sid = reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid;
  if (!IsValidSid(sid)) return {};
  auto *bytes = static_cast<BYTE *>(sid);
  return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

std::vector<DWORD> UserFullAccessAcl(const std::vector<BYTE> &sid) {
  auto addAllowedAce = LookupProc<AddAccessAllowedAceExFn>(GetModuleHandleA("advapi32.dll"), "AddAccessAllowedAceEx");
  if (sid.empty() || !addAllowedAce) return {};
  auto *user = const_cast<BYTE *>(sid.data());
  const DWORD aceSize = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + static_cast<DWORD>(sid.size());
  std::vector<DWORD> storage((sizeof(ACL) + aceSize + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
  auto *acl = reinterpret_cast<PACL>(storage.data());
  if (!InitializeAcl(acl, static_cast<DWORD>(storage.size() * sizeof(DWORD)), ACL_REVISION)) return {};
  if (!addAllowedAce(acl, ACL_REVISION, kInheritedBySubkeys, kFullKeyAccess, user)) return {};
  return storage;
}
