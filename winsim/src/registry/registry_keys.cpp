// Opening, creating, closing and deleting keys.
#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "optional_api.h"
#include "registry/registry_handles.h"
#include "registry/registry_links.h"
#include "registry/registry_rewrites.h"

using namespace winsim::detail;

namespace {

// A path may end with or repeat backslashes but not begin with one.
bool BadPath(LPCSTR subKey) { return subKey && subKey[0] == '\\'; }

LSTATUS DeleteKey(HKEY key, LPCSTR subKey) {
  if (!subKey) return ERROR_INVALID_PARAMETER;
  if (BadPath(subKey)) return ERROR_BAD_PATHNAME;
  auto base = ResolveHandle(key, 0);
  if (base.status != ERROR_SUCCESS) return base.status;
  auto target = WalkPath(base.key, subKey);
  if (!target) return ERROR_FILE_NOT_FOUND;
  // Roots cannot go, a refused DELETE right stops it, and so do subkeys: the
  // registry deletes one key at a time.
  REGSAM granted = 0;
  if (target->parent.expired() || GrantAccess(*target, DELETE, granted) != ERROR_SUCCESS || !target->subkeys.empty())
    return ERROR_ACCESS_DENIED;
  RemoveKey(target);
  AfterKeyDeleted(target);
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegOpenKeyExA", DescribeTarget(key, subKey) + "|" + HexMask(desired));
  if (result) *result = nullptr;
  if (unsigned fault = InjectedFault("RegOpenKeyExA")) return static_cast<LSTATUS>(fault);
  if (!result) return ERROR_INVALID_PARAMETER;
  if (BadPath(subKey)) return ERROR_BAD_PATHNAME;
  auto base = ResolveHandle(key, 0);
  if (base.status != ERROR_SUCCESS) return base.status;
  auto target = WalkPath(base.key, subKey ? subKey : "", (options & REG_OPTION_OPEN_LINK) != 0);
  if (!target) return ERROR_FILE_NOT_FOUND;
  REGSAM granted = 0;
  if (LSTATUS status = GrantAccess(*target, desired, granted)) return status;
  *result = OpenKeyHandle(target, granted, desired);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD options, REGSAM desired,
                               LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegCreateKeyExA", DescribeTarget(key, subKey) + "|" + HexMask(desired));
  if (result) *result = nullptr;
  if (unsigned fault = InjectedFault("RegCreateKeyExA")) return static_cast<LSTATUS>(fault);
  if (!result) return ERROR_INVALID_PARAMETER;
  if (BadPath(subKey)) return ERROR_BAD_PATHNAME;
  auto base = ResolveHandle(key, 0);
  if (base.status != ERROR_SUCCESS) return base.status;
  // Creating a subkey is checked against the parent key's own security, not
  // against the rights of the handle it is reached through.
  // Links on the way lead on to their targets; the last key is taken as it
  // is when it is created as a link or opened as one.
  auto current = base.key;
  bool created = false;
  auto parts = SplitPath(subKey ? subKey : "");
  bool keepLastLink = (options & (REG_OPTION_CREATE_LINK | REG_OPTION_OPEN_LINK)) != 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto next = FindSubkey(*current, parts[i]);
    if (!next) {
      REGSAM parentRights = 0;
      if (GrantAccess(*current, KEY_CREATE_SUB_KEY, parentRights) != ERROR_SUCCESS) return ERROR_ACCESS_DENIED;
      next = AddSubkey(current, parts[i]);
      created = true;
      if (i + 1 == parts.size() && (options & REG_OPTION_CREATE_LINK)) next->link = true;
    } else if (i + 1 < parts.size() || !keepLastLink) {
      next = FollowLinks(next);
      if (!next) return ERROR_FILE_NOT_FOUND;
    }
    current = next;
  }
  REGSAM granted = 0;
  if (created) {
    // The creator owns the new key and gets what it asked for.
    granted = CreatorRights(desired);
  } else if (LSTATUS status = GrantAccess(*current, desired, granted)) {
    return status;
  }
  *result = OpenKeyHandle(current, granted, desired);
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegCloseKey", DescribeTarget(key, nullptr));
  if (unsigned fault = InjectedFault("RegCloseKey")) return static_cast<LSTATUS>(fault);
  return CloseKeyHandle(key);
}

LSTATUS WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegDeleteKeyA", DescribeTarget(key, subKey));
  if (unsigned fault = InjectedFault("RegDeleteKeyA")) return static_cast<LSTATUS>(fault);
  return DeleteKey(key, subKey);
}

LSTATUS WINAPI RegDeleteKeyExA(HKEY key, LPCSTR subKey, REGSAM desired, DWORD) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegDeleteKeyExA", DescribeTarget(key, subKey) + "|" + HexMask(desired));
  if (unsigned fault = InjectedFault("RegDeleteKeyExA")) return static_cast<LSTATUS>(fault);
  return DeleteKey(key, subKey);
}
