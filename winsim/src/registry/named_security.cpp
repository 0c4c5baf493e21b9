// GetNamedSecurityInfoW and SetNamedSecurityInfoW on registry keys named
// "CURRENT_USER\..." (and the other roots), and GetSecurityInfo and
// SetSecurityInfo on key handles.
#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "registry/registry_handles.h"
#include "registry/registry_security.h"
#include "security/security_api.h"

using namespace winsim::detail;

namespace {

const struct {
  const char *name;
  HKEY root;
} kNamedRoots[] = {{"CURRENT_USER", HKEY_CURRENT_USER},
                   {"MACHINE", HKEY_LOCAL_MACHINE},
                   {"USERS", HKEY_USERS},
                   {"CLASSES_ROOT", HKEY_CLASSES_ROOT}};

// Key names are held as the A functions wrote them: a wide name reaches them
// through the ANSI code page, as on Windows, where the registry keeps UTF-16
// names and the A functions convert theirs. A character the code page lacks
// names no key the A functions can have made.
struct NarrowName {
  std::string text;
  bool exact = true;
};

NarrowName Narrow(LPCWSTR text) {
  NarrowName narrow;
  int length = 0;
  while (text && text[length]) ++length;
  if (length == 0) return narrow;
  narrow.text.assign(static_cast<std::size_t>(length), '\0');
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, 0, text, length, &narrow.text[0], length, nullptr, &usedDefault);
  narrow.exact = !usedDefault;
  return narrow;
}

bool SameRootName(const std::string &a, const char *b) {
  std::string upper = a;
  for (auto &c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return upper == b;
}

struct NamedKey {
  DWORD status = ERROR_SUCCESS;
  std::shared_ptr<RegKey> key;
};

NamedKey FindNamedKey(const NarrowName &narrow) {
  NamedKey found;
  const std::string &name = narrow.text;
  auto slash = name.find('\\');
  std::string root = name.substr(0, slash);
  for (auto &known : kNamedRoots)
    if (SameRootName(root, known.name)) {
      if (narrow.exact)
        found.key = WalkPath(RootKey(known.root), slash == std::string::npos ? "" : name.substr(slash + 1));
      if (!found.key) found.status = ERROR_FILE_NOT_FOUND;
      return found;
    }
  found.status = ERROR_INVALID_PARAMETER;
  return found;
}

DWORD ReadKey(const RegKey &key, REGSAM granted, SECURITY_INFORMATION what, PSID *owner, PSID *group, PACL *dacl,
              PACL *sacl, PSECURITY_DESCRIPTOR *descriptor) {
  REGSAM needed = RightsForSecurity(what, false);
  if ((needed & 0x01000000) && !(granted & 0x01000000)) return ERROR_PRIVILEGE_NOT_HELD;
  if ((granted & needed) != needed) return ERROR_ACCESS_DENIED;
  if (!descriptor && (owner || group || dacl || sacl)) return ERROR_INVALID_PARAMETER;
  PSECURITY_DESCRIPTOR made = KeyDescriptor(key, what);
  BOOL present = FALSE, defaulted = FALSE;
  if (owner) GetSecurityDescriptorOwner(made, owner, &defaulted);
  if (group) GetSecurityDescriptorGroup(made, group, &defaulted);
  if (dacl) GetSecurityDescriptorDacl(made, &present, dacl, &defaulted);
  if (sacl) GetSecurityDescriptorSacl(made, &present, sacl, &defaulted);
  if (descriptor)
    *descriptor = made;
  else
    LocalFree(made);
  return ERROR_SUCCESS;
}

std::string Detail(const std::string &target, SECURITY_INFORMATION what) {
  return target + "|" + HexMask(what);
}

}  // namespace

DWORD WINAPI GetNamedSecurityInfoW(LPCWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID *owner,
                                   PSID *group, PACL *dacl, PACL *sacl, PSECURITY_DESCRIPTOR *descriptor) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("GetNamedSecurityInfoW", Detail(Narrow(name).text, what));
  if (unsigned fault = InjectedFault("GetNamedSecurityInfoW")) return fault;
  if (!name || type != SE_REGISTRY_KEY) return ERROR_INVALID_PARAMETER;
  auto found = FindNamedKey(Narrow(name));
  if (found.status) return found.status;
  return ReadKey(*found.key, AllowedKeyRights(*found.key), what, owner, group, dacl, sacl, descriptor);
}

DWORD WINAPI SetNamedSecurityInfoW(LPWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID owner, PSID group,
                                   PACL dacl, PACL sacl) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("SetNamedSecurityInfoW", Detail(Narrow(name).text, what));
  if (unsigned fault = InjectedFault("SetNamedSecurityInfoW")) return fault;
  if (!name || type != SE_REGISTRY_KEY) return ERROR_INVALID_PARAMETER;
  auto found = FindNamedKey(Narrow(name));
  if (found.status) return found.status;
  return WriteKeySecurity(*found.key, AllowedKeyRights(*found.key) & ~found.key->deniedRights, what, owner, group,
                          dacl, sacl);
}

DWORD WINAPI GetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID *owner, PSID *group,
                             PACL *dacl, PACL *sacl, PSECURITY_DESCRIPTOR *descriptor) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto key = static_cast<HKEY>(handle);
  Record("GetSecurityInfo", Detail(DescribeTarget(key, nullptr), what));
  if (unsigned fault = InjectedFault("GetSecurityInfo")) return fault;
  if (type != SE_REGISTRY_KEY) return ERROR_INVALID_PARAMETER;
  auto resolved = ResolveHandle(key, RightsForSecurity(what, false));
  if (resolved.status) return static_cast<DWORD>(resolved.status);
  return ReadKey(*resolved.key, ~0u, what, owner, group, dacl, sacl, descriptor);
}

DWORD WINAPI SetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID owner, PSID group,
                             PACL dacl, PACL sacl) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto key = static_cast<HKEY>(handle);
  Record("SetSecurityInfo", Detail(DescribeTarget(key, nullptr), what));
  if (unsigned fault = InjectedFault("SetSecurityInfo")) return fault;
  if (type != SE_REGISTRY_KEY) return ERROR_INVALID_PARAMETER;
  auto resolved = ResolveHandle(key, RightsForSecurity(what, true));
  if (resolved.status) return static_cast<DWORD>(resolved.status);
  return WriteKeySecurity(*resolved.key, ~0u, what, owner, group, dacl, sacl);
}
