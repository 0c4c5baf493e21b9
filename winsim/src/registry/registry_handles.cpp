#include "registry/registry_handles.h"

#include "registry/registry_security.h"

#include <cstdio>

namespace winsim::detail {
namespace {

const REGSAM kViewBits = KEY_WOW64_64KEY | KEY_WOW64_32KEY;
const REGSAM kAllKeyRights = KEY_ALL_ACCESS;

REGSAM MapGenericRights(REGSAM desired) {
  REGSAM rights = desired & ~(kViewBits | GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL | MAXIMUM_ALLOWED);
  if (desired & GENERIC_READ) rights |= KEY_READ;
  if (desired & GENERIC_WRITE) rights |= KEY_WRITE;
  if (desired & GENERIC_EXECUTE) rights |= KEY_EXECUTE;
  if (desired & GENERIC_ALL) rights |= kAllKeyRights;
  return rights;
}

}  // namespace

bool IsPredefinedKey(HKEY handle) { return RootKey(handle) != nullptr; }

ResolvedKey ResolveHandle(HKEY handle, REGSAM needed) {
  ResolvedKey resolved;
  if (auto root = RootKey(handle)) {
    resolved.key = root;
    return resolved;
  }
  auto &handles = Registry().handles;
  auto found = handles.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == handles.end()) {
    resolved.status = ERROR_INVALID_HANDLE;
    return resolved;
  }
  if ((found->second.granted & needed) != needed) {
    resolved.status = ERROR_ACCESS_DENIED;
    return resolved;
  }
  if (found->second.key->deleted) {
    resolved.status = ERROR_KEY_DELETED;
    return resolved;
  }
  resolved.key = found->second.key;
  resolved.view = found->second.view;
  return resolved;
}

LSTATUS GrantAccess(const RegKey &key, REGSAM desired, REGSAM &granted) {
  REGSAM rights = MapGenericRights(desired);
  // What the key's security gives the token, less what a test refuses.
  REGSAM allowed = AllowedKeyRights(key) & ~key.deniedRights;
  if ((rights & allowed) != rights) return ERROR_ACCESS_DENIED;
  if (desired & MAXIMUM_ALLOWED) rights |= allowed;
  granted = rights;
  return ERROR_SUCCESS;
}

REGSAM CreatorRights(REGSAM desired) {
  REGSAM rights = MapGenericRights(desired);
  return (desired & MAXIMUM_ALLOWED) ? rights | kAllKeyRights : rights;
}

HKEY OpenKeyHandle(std::shared_ptr<RegKey> key, REGSAM granted, REGSAM view) {
  auto &state = Registry();
  std::uintptr_t value = state.nextHandle;
  state.nextHandle += 4;
  state.handles[value] = RegHandle{std::move(key), granted, view & kViewBits};
  return reinterpret_cast<HKEY>(value);
}

LSTATUS CloseKeyHandle(HKEY handle) {
  if (IsPredefinedKey(handle)) return ERROR_SUCCESS;
  auto &handles = Registry().handles;
  if (!handles.erase(reinterpret_cast<std::uintptr_t>(handle))) return ERROR_INVALID_HANDLE;
  return ERROR_SUCCESS;
}

std::string DescribeTarget(HKEY handle, const char *subKey) {
  std::string path = "?";
  if (auto root = RootKey(handle)) {
    path = root->name;
  } else {
    auto &handles = Registry().handles;
    auto found = handles.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found != handles.end()) path = FullKeyPath(*found->second.key);
  }
  if (subKey && *subKey) path += std::string("\\") + subKey;
  return path;
}

std::string HexMask(REGSAM mask) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(mask));
  return text;
}

}  // namespace winsim::detail
