#include "cleanslate/key_itself_repair.h"

#include <vector>

#include <aclapi.h>

#include "cleanslate/registry_keys.h"
#include "cleanslate/user_access_rule.h"
#include "common/proc_lookup.h"
#include "common/unique_any.h"

namespace {

using SetSecurityInfoFn = decltype(&::SetSecurityInfo);

// The rights with which the repair's handle is asked for, the fullest first.
const REGSAM kRepairRights = READ_CONTROL | WRITE_DAC | WRITE_OWNER;
const REGSAM kListRights = READ_CONTROL | WRITE_DAC;

}  // namespace

bool RepairKeyItself(RegistryView view, HKEY key, const std::string &subkey) {
  auto setSecurityInfo = LookupProc<SetSecurityInfoFn>(GetModuleHandleA("advapi32.dll"), "SetSecurityInfo");
  if (!setSecurityInfo) return false;
  // The keys on the way, opened as they are; the key itself by its last name.
  const std::size_t slash = subkey.find_last_of('\\');
  const std::string name = slash == std::string::npos ? subkey : subkey.substr(slash + 1);
  UniqueRegKey way;
  HKEY parent = key;
  if (slash != std::string::npos) {
    OpenKeyPath(view, key, subkey.substr(0, slash), 0, false, way);
    if (!way) return false;
    parent = way.Get();
  }
  // Taking ownership needs only the privilege; the owner may then write the list.
  HKEY opened = nullptr;
  if (OpenRegKey(view, parent, name, REG_OPTION_OPEN_LINK, WRITE_OWNER, &opened) != ERROR_SUCCESS) return false;
  UniqueRegKey owned(opened);
  std::vector<BYTE> user = CurrentUserSid();
  std::vector<DWORD> acl = UserFullAccessAcl(user);
  if (acl.empty() ||
      setSecurityInfo(owned.Get(), SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION, user.data(), nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS)
    return false;
  // The same key again, through the handle just used: it is the owner's now.
  if (OpenRegKey(view, owned.Get(), "", REG_OPTION_OPEN_LINK, WRITE_DAC, &opened) != ERROR_SUCCESS) return false;
  UniqueRegKey listed(opened);
  return setSecurityInfo(listed.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                         nullptr, nullptr, reinterpret_cast<PACL>(acl.data()), nullptr) == ERROR_SUCCESS;
}

KeyPathState OpenKeyForRepair(RegistryView view, HKEY key, const std::string &path, UniqueRegKey &checked) {
  KeyPathState found = OpenKeyPath(view, key, path, kRepairRights, false, checked);
  if (found.state != KeyLinkState::Unknown || !found.atLastKey) return found;
  if (RepairKeyItself(view, key, path)) found = OpenKeyPath(view, key, path, kRepairRights, false, checked);
  // Without the ownership, an owner may still rewrite the list.
  for (REGSAM fewer : {kListRights, REGSAM(0)})
    if (found.state == KeyLinkState::Unknown && found.atLastKey)
      found = OpenKeyPath(view, key, path, fewer, false, checked);
  return found;
}
