#include "cleanslate/registry_links.h"

#include <vector>

#include <winternl.h>

#include "cleanslate/registry_keys.h"
#include "cleanslate/registry_view.h"
#include "common/proc_lookup.h"

namespace {

// Not declared by the SDK's headers.
using NtDeleteKeyFn = LONG(WINAPI *)(HANDLE);
using RtlNtStatusToDosErrorFn = decltype(&::RtlNtStatusToDosError);

const char kLinkValueName[] = "SymbolicLinkValue";

// Whether the key behind the handle (opened as it is) is a link.
KeyLinkState LinkStateOf(HKEY opened, LONG &error) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG result = RegQueryValueExA(opened, kLinkValueName, nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return KeyLinkState::NoLink;
  // A key that cannot say whether it has a link value may be a link.
  if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
    error = result;
    return KeyLinkState::Unknown;
  }
  if (type != REG_LINK) return KeyLinkState::NoLink;
  error = ERROR_ACCESS_DENIED;
  return KeyLinkState::Link;
}

// The names of the keys along a path; the key itself for an empty path.
std::vector<std::string> KeyNames(const std::string &path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  if (names.empty()) names.emplace_back();
  return names;
}

}  // namespace

KeyPathState OpenKeyPath(RegistryView view, HKEY key, const std::string &path, REGSAM access, bool create,
                         UniqueRegKey &opened) {
  opened.Reset();
  const std::vector<std::string> names = KeyNames(path);
  UniqueRegKey current;
  HKEY parent = key;
  KeyPathState found;
  for (std::size_t i = 0; i < names.size(); ++i) {
    found.atLastKey = i + 1 == names.size();
    const REGSAM wanted = ViewAccess(view, KEY_QUERY_VALUE | (found.atLastKey ? access : 0));
    HKEY next = nullptr;
    found.error = create ? RegCreateKeyExA(parent, names[i].c_str(), 0, nullptr, REG_OPTION_OPEN_LINK, wanted,
                                           nullptr, &next, nullptr)
                         : RegOpenKeyExA(parent, names[i].c_str(), REG_OPTION_OPEN_LINK, wanted, &next);
    if (found.error != ERROR_SUCCESS) {
      found.state = found.error == ERROR_FILE_NOT_FOUND ? KeyLinkState::Missing : KeyLinkState::Unknown;
      return found;
    }
    UniqueRegKey examined(next);
    found.state = LinkStateOf(examined.Get(), found.error);
    if (found.state != KeyLinkState::NoLink) return found;
    current = std::move(examined);
    parent = current.Get();
  }
  found.error = ERROR_SUCCESS;
  opened = std::move(current);
  return found;
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
