#include "cleanslate/privileges.h"

#include <cstddef>

#include <windows.h>

#include "cleanslate/enciphered_constants.h"
#include "common/unique_any.h"

namespace {

const DWORD kTokenAccess = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY;

// A name the system does not know gives LUID 0, which no entry has.
LUID PrivilegeLuid(const std::string &name) {
  LUID luid = {};
  if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid)) luid = LUID{};
  return luid;
}

bool SameLuid(const LUID &a, const LUID &b) { return a.LowPart == b.LowPart && a.HighPart == b.HighPart; }

}  // namespace

void EnablePrivileges() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), kTokenAccess, token.Put())) return;
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenPrivileges, nullptr, 0, &size);
  if (size == 0) return;
  UniqueLocal block(LocalAlloc(LMEM_ZEROINIT, 2 * static_cast<SIZE_T>(size)));
  if (!block) return;
  if (!GetTokenInformation(token.Get(), TokenPrivileges, block.Get(), 2 * size, &size)) return;
  if (size < offsetof(TOKEN_PRIVILEGES, Privileges)) return;
  const LUID kept1 = PrivilegeLuid(DecipherString(KeptPrivilege1));
  const LUID kept2 = PrivilegeLuid(DecipherString(KeptPrivilege2));
  auto *privileges = static_cast<TOKEN_PRIVILEGES *>(block.Get());
  // The entries follow the count; the declared array has room for one only.
  auto *entries = reinterpret_cast<LUID_AND_ATTRIBUTES *>(reinterpret_cast<unsigned char *>(block.Get()) +
                                                          offsetof(TOKEN_PRIVILEGES, Privileges));
  const SIZE_T room = (2 * static_cast<SIZE_T>(size) - offsetof(TOKEN_PRIVILEGES, Privileges)) / sizeof *entries;
  const DWORD count = privileges->PrivilegeCount < room ? privileges->PrivilegeCount : static_cast<DWORD>(room);
  for (DWORD i = 0; i < count; ++i) {
    LUID_AND_ATTRIBUTES &entry = entries[i];
    if (SameLuid(entry.Luid, kept1) || SameLuid(entry.Luid, kept2)) continue;
    entry.Attributes |= SE_PRIVILEGE_ENABLED;
  }
  AdjustTokenPrivileges(token.Get(), FALSE, privileges, size, nullptr, nullptr);
}
