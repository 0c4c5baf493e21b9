#include "cleanslate/key_itself_repair.h"

#include <vector>

#include <aclapi.h>

#include "cleanslate/registry_keys.h"
#include "cleanslate/user_access_rule.h"
#include "common/proc_lookup.h"
#include "common/unique_reg_key.h"

namespace {

using SetSecurityInfoFn = DWORD(WINAPI *)(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);

// Writes one part of the key's security through a handle on the key itself.
bool WriteThroughHandle(SetSecurityInfoFn setSecurityInfo, RegistryView view, HKEY key, const std::string &subkey,
                        REGSAM access, SECURITY_INFORMATION what, PSID owner, PACL dacl) {
  HKEY opened = nullptr;
  if (OpenRegKey(view, key, subkey, REG_OPTION_OPEN_LINK, access, &opened) != ERROR_SUCCESS) return false;
  UniqueRegKey handle(opened);
  return setSecurityInfo(handle.Get(), SE_REGISTRY_KEY, what, owner, nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool RepairKeyItself(RegistryView view, HKEY key, const std::string &subkey) {
  auto setSecurityInfo = LookupProc<SetSecurityInfoFn>(GetModuleHandleA("advapi32.dll"), "SetSecurityInfo");
  if (!setSecurityInfo) return false;
  std::vector<BYTE> user = CurrentUserSid();
  std::vector<DWORD> acl = UserFullAccessAcl(user);
  if (acl.empty()) return false;
  // Taking ownership needs only the privilege; the owner may then write the list.
  return WriteThroughHandle(setSecurityInfo, view, key, subkey, WRITE_OWNER, OWNER_SECURITY_INFORMATION, user.data(),
                            nullptr) &&
         WriteThroughHandle(setSecurityInfo, view, key, subkey, WRITE_DAC,
                            DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                            reinterpret_cast<PACL>(acl.data()));
}
