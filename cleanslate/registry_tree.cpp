#include "cleanslate/registry_tree.h"

#include <vector>

#include "cleanslate/key_access_repair.h"
#include "cleanslate/key_itself_repair.h"
#include "cleanslate/registry_keys.h"
#include "cleanslate/registry_links.h"
#include "common/unique_any.h"

LONG LastDeleteResult = 0;

namespace {

const std::size_t kFirstNameLength = 256;
const std::size_t kLongestNameBuffer = 0x10000;

DWORD platformAtStart = VER_PLATFORM_WIN32_NT;

LONG Deleted(LONG result) {
  LastDeleteResult = result;
  return result;
}

// Deletes every subkey of the open key that can be deleted; a subkey that
// cannot stays, and its later siblings are still tried.
void DeleteSubkeys(RegistryView view, HKEY opened) {
  std::vector<char> name(kFirstNameLength);
  DWORD index = 0;
  // The subkey just deleted at this index: should the same name still be
  // there, the deletion did not take and the walk moves on.
  std::string deletedHere;
  bool deletedAtIndex = false;
  for (;;) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG result = RegEnumKeyExA(opened, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) {
      if (name.size() >= kLongestNameBuffer) break;
      name.resize(name.size() * 2);
      continue;
    }
    if (result != ERROR_SUCCESS) break;
    std::string subkey(name.data());
    if (deletedAtIndex && subkey == deletedHere) {
      deletedAtIndex = false;
      ++index;
      continue;
    }
    if (DeleteRegTree(view, opened, subkey) == ERROR_SUCCESS) {
      deletedHere = subkey;
      deletedAtIndex = true;
    } else {
      deletedAtIndex = false;
      ++index;
    }
  }
}

}  // namespace

void StartRegistryRun() {
  LastDeleteResult = 0;
  ForgetRegDeleteKeyEx();
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  platformAtStart = GetVersionExA(&info) ? info.dwPlatformId : VER_PLATFORM_WIN32_NT;
}

LONG DeleteRegTree(RegistryView view, HKEY key, const std::string &subkey) {
  if (platformAtStart == VER_PLATFORM_WIN32_NT) {
    const bool repairing = LastDeleteResult == ERROR_SUCCESS;
    // The key as it is, reached without following a link: the repair and the
    // listing work on that very key.
    UniqueRegKey checked;
    KeyPathState found = repairing ? OpenKeyForRepair(view, key, subkey, checked)
                                   : OpenKeyPath(view, key, subkey, 0, false, checked);
    const bool linkOrUnknown = found.state == KeyLinkState::Link || found.state == KeyLinkState::Unknown;
    // A key on the way that is a link (or cannot be examined) would lead
    // elsewhere: nothing there is touched.
    if (linkOrUnknown && !found.atLastKey) return Deleted(ERROR_ACCESS_DENIED);
    // The key itself: removed as it is, never followed.
    if (linkOrUnknown) return Deleted(DeleteRegLink(view, key, subkey));
    if (checked && repairing) {
      RepairKeyAccess(checked.Get());
      HKEY opened = nullptr;
      if (OpenRegKey(view, checked.Get(), "", REG_OPTION_OPEN_LINK, KEY_ENUMERATE_SUB_KEYS, &opened) == ERROR_SUCCESS) {
        UniqueRegKey owner(opened);
        checked.Reset();
        DeleteSubkeys(view, owner.Get());
      }
    }
  }
  return Deleted(DeleteRegKey(view, key, subkey));
}
