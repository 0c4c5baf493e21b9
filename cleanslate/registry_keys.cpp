#include "cleanslate/registry_keys.h"

#include "cleanslate/registry_view.h"
#include "common/proc_lookup.h"

namespace {

using RegDeleteKeyExAFn = decltype(&::RegDeleteKeyExA);

// Kept for the run once found; the reset runs on one thread.
RegDeleteKeyExAFn regDeleteKeyExA = nullptr;

}  // namespace

void ForgetRegDeleteKeyEx() { regDeleteKeyExA = nullptr; }

LONG OpenRegKey(RegistryView view, HKEY key, const std::string &subkey, DWORD options, REGSAM access, HKEY *opened) {
  return RegOpenKeyExA(key, subkey.c_str(), options, ViewAccess(view, access), opened);
}

LONG DeleteRegKey(RegistryView view, HKEY key, const std::string &subkey) {
  if (view != k64BitRegistryView) return RegDeleteKeyA(key, subkey.c_str());
  if (!regDeleteKeyExA)
    regDeleteKeyExA = LookupProc<RegDeleteKeyExAFn>(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA");
  if (!regDeleteKeyExA) return ERROR_PROC_NOT_FOUND;
  return regDeleteKeyExA(key, subkey.c_str(), KEY_WOW64_64KEY, 0);
}
