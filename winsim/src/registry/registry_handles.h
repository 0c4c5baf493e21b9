// Key handles of the program: opening, resolving with an access check, closing.
#pragma once

#include <memory>
#include <string>

#include "registry/registry_state.h"

namespace winsim::detail {

struct ResolvedKey {
  LSTATUS status = ERROR_SUCCESS;
  std::shared_ptr<RegKey> key;
  REGSAM view = 0;
};

// The key behind a handle when the handle grants every right in `needed`.
// As on Windows the handle's access is checked before whether the key was
// deleted meanwhile (ERROR_KEY_DELETED).
ResolvedKey ResolveHandle(HKEY handle, REGSAM needed);

// The rights a new handle to `key` gets for `desired` (generic rights mapped,
// MAXIMUM_ALLOWED granting all that is not refused), or ERROR_ACCESS_DENIED.
LSTATUS GrantAccess(const RegKey &key, REGSAM desired, REGSAM &granted);

// The rights the creator of a new key gets for `desired`.
REGSAM CreatorRights(REGSAM desired);

HKEY OpenKeyHandle(std::shared_ptr<RegKey> key, REGSAM granted, REGSAM view);
LSTATUS CloseKeyHandle(HKEY handle);
bool IsPredefinedKey(HKEY handle);

// "HKEY_CURRENT_USER\Software\X" for the key a call names, for the trace.
std::string DescribeTarget(HKEY handle, const char *subKey);
std::string HexMask(REGSAM mask);

}  // namespace winsim::detail
