#include "cleanslate/registry_links.h"

#include "cleanslate/registry_keys.h"
#include "common/proc_lookup.h"
#include "common/unique_reg_key.h"

namespace {

using NtDeleteKeyFn = LONG(WINAPI *)(HANDLE);
using RtlNtStatusToDosErrorFn = ULONG(WINAPI *)(LONG);

const char kLinkValueName[] = "SymbolicLinkValue";

// The state of one key, opened as it is (a link is not followed).
KeyLinkState ExamineKey(RegistryView view, HKEY key, const std::string &path) {
  HKEY opened = nullptr;
  LONG result = OpenRegKey(view, key, path, REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &opened);
  if (result == ERROR_FILE_NOT_FOUND) return KeyLinkState::Missing;
  if (result != ERROR_SUCCESS) return KeyLinkState::Unknown;
  UniqueRegKey owner(opened);
  DWORD type = REG_NONE;
  DWORD size = 0;
  result = RegQueryValueExA(owner.Get(), kLinkValueName, nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return KeyLinkState::NoLink;
  // A key that cannot say whether it has a link value may be a link.
  if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return KeyLinkState::Unknown;
  return type == REG_LINK ? KeyLinkState::Link : KeyLinkState::NoLink;
}

}  // namespace

KeyLinkState ExamineKeyPath(RegistryView view, HKEY key, const std::string &path, bool *atLastKey) {
  if (atLastKey) *atLastKey = true;
  // Each prefix in turn: an earlier link would lead the later opens elsewhere.
  std::size_t end = 0;
  bool any = false;
  while (end < path.size()) {
    std::size_t next = path.find('\\', end);
    if (next == std::string::npos) next = path.size();
    if (next > end) {
      any = true;
      KeyLinkState state = ExamineKey(view, key, path.substr(0, next));
      if (state != KeyLinkState::NoLink) {
        if (atLastKey) *atLastKey = path.find_first_not_of('\\', next) == std::string::npos;
        return state;
      }
    }
    end = next + 1;
  }
  return any ? KeyLinkState::NoLink : ExamineKey(view, key, path);
}

LONG DeleteRegLink(RegistryView view, HKEY key, const std::string &subkey) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto ntDeleteKey = LookupProc<NtDeleteKeyFn>(ntdll, "NtDeleteKey");
  auto toDosError = LookupProc<RtlNtStatusToDosErrorFn>(ntdll, "RtlNtStatusToDosError");
  if (!ntDeleteKey || !toDosError) return ERROR_PROC_NOT_FOUND;
  HKEY opened = nullptr;
  LONG result = OpenRegKey(view, key, subkey, REG_OPTION_OPEN_LINK, DELETE, &opened);
  if (result != ERROR_SUCCESS) return result;
  UniqueRegKey link(opened);
  return static_cast<LONG>(toDosError(ntDeleteKey(link.Get())));
}
