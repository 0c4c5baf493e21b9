#include "cleanslate/key_access_repair.h"

#include <vector>

#include <windows.h>
#include <aclapi.h>

#include "cleanslate/user_access_rule.h"
#include "common/proc_lookup.h"

namespace {

using GetNamedSecurityInfoWFn = DWORD(WINAPI *)(LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID *, PSID *,
                                                PACL *, PACL *, PSECURITY_DESCRIPTOR *);
using SetNamedSecurityInfoWFn = DWORD(WINAPI *)(LPWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);

// A security descriptor the system allocated for us, freed with LocalFree.
class SystemDescriptor {
 public:
  SystemDescriptor() = default;
  ~SystemDescriptor() {
    if (descriptor_) LocalFree(descriptor_);
  }
  SystemDescriptor(const SystemDescriptor &) = delete;
  SystemDescriptor &operator=(const SystemDescriptor &) = delete;
  PSECURITY_DESCRIPTOR *Receive() { return &descriptor_; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

struct NamedSecurity {
  GetNamedSecurityInfoWFn get = nullptr;
  SetNamedSecurityInfoWFn set = nullptr;
};

NamedSecurity LookUpNamedSecurity() {
  HMODULE advapi32 = GetModuleHandleA("advapi32.dll");
  return {LookupProc<GetNamedSecurityInfoWFn>(advapi32, "GetNamedSecurityInfoW"),
          LookupProc<SetNamedSecurityInfoWFn>(advapi32, "SetNamedSecurityInfoW")};
}

bool SameAsciiName(const std::string &a, const char *b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    if (x != b[i]) return false;
  }
  return i == a.size() && b[i] == '\0';
}

// The object name the named-object functions take: "CURRENT_USER\path" for
// "HKEY_CURRENT_USER" or "HKCU" and the path, as a wide string.
std::basic_string<WCHAR> ObjectName(const std::string &rootName, const std::string &keyPath) {
  static const struct {
    const char *given;
    const char *named;
  } kRoots[] = {{"HKEY_CURRENT_USER", "CURRENT_USER"}, {"HKCU", "CURRENT_USER"},
                {"HKEY_LOCAL_MACHINE", "MACHINE"},    {"HKLM", "MACHINE"},
                {"HKEY_USERS", "USERS"},              {"HKU", "USERS"},
                {"HKEY_CLASSES_ROOT", "CLASSES_ROOT"}, {"HKCR", "CLASSES_ROOT"}};
  std::string root = rootName;
  for (auto &known : kRoots)
    if (SameAsciiName(rootName, known.given)) root = known.named;
  std::string name = root + "\\" + keyPath;
  std::basic_string<WCHAR> wide;
  for (unsigned char c : name) wide += static_cast<WCHAR>(c);
  return wide;
}

// Inheritance back on: the key's list written back as it is, unprotected.
void UnprotectDacl(const NamedSecurity &api, std::basic_string<WCHAR> &name) {
  SystemDescriptor descriptor;
  PACL dacl = nullptr;
  if (api.get(name.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
              descriptor.Receive()) != ERROR_SUCCESS)
    return;
  api.set(&name[0], SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr,
          nullptr, dacl, nullptr);
}

// The key's list replaced by one inheritable full-access rule for the user,
// once the list can be read.
void GrantUserFullAccess(const NamedSecurity &api, std::basic_string<WCHAR> &name, const std::vector<BYTE> &user) {
  SystemDescriptor descriptor;
  PACL current = nullptr;
  if (api.get(name.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &current, nullptr,
              descriptor.Receive()) != ERROR_SUCCESS)
    return;
  std::vector<DWORD> acl = UserFullAccessAcl(user);
  if (acl.empty()) return;
  api.set(&name[0], SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, reinterpret_cast<PACL>(acl.data()),
          nullptr);
}

}  // namespace

void RepairKeyAccess(const std::string &rootName, const std::string &keyPath) {
  const NamedSecurity api = LookUpNamedSecurity();
  if (!api.get || !api.set) return;
  std::basic_string<WCHAR> name = ObjectName(rootName, keyPath);
  UnprotectDacl(api, name);
  std::vector<BYTE> owner = CurrentUserSid();
  if (!owner.empty())
    api.set(&name[0], SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION, owner.data(), nullptr, nullptr, nullptr);
  std::vector<BYTE> user = CurrentUserSid();
  GrantUserFullAccess(api, name, user);
}
