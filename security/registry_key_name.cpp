// The textual name of a registry key as the named-object functions expect it:
// "HKEY_LOCAL_MACHINE\Software\X" becomes "MACHINE\Software\X".
#include "security/security_object.h"

namespace {

const struct {
  const char *canonical;
  const char *aliases[2];
} kRoots[] = {
    {"MACHINE", {"HKLM", "LOCAL_MACHINE"}}, {"USERS", {"HKU", nullptr}},
    {"CURRENT_USER", {"HKCU", "USER"}},     {"CONFIG", {"HKCC", "CURRENT_CONFIG"}},
    {"CLASSES_ROOT", {"HKCR", "CLASSES"}},
};

}  // namespace

WideString CanonicalRegistryKeyName(const WideString &path) {
  WideString text = path;
  if (TextStartsWith(text, WidenText("HKEY_"))) text = text.substr(5);
  size_t slash = text.find(static_cast<WCHAR>('\\'));
  WideString root = text.substr(0, slash);
  WideString rest = slash == WideString::npos ? WideString() : text.substr(slash);
  for (auto &row : kRoots) {
    bool match = SameText(root, WidenText(row.canonical));
    for (const char *alias : row.aliases) match = match || (alias && SameText(root, WidenText(alias)));
    if (match) return WidenText(row.canonical) + rest;
  }
  return UpperCaseWide(root) + rest;
}

IPtr<ISecurityObject> RegistryKeySecurity(const WideString &path) {
  return MakeObject<TISecurityObject>(nullptr, CanonicalRegistryKeyName(path), SE_REGISTRY_KEY);
}

IPtr<ISecurityObject> RegistryKeySecurity(HKEY key) {
  return MakeObject<TISecurityObject>(static_cast<HANDLE>(key), WideString(), SE_REGISTRY_KEY);
}
