// LoadImageA of icons from the program's resources, and DestroyIcon.
#include <cstdlib>

#include "core/component.h"
#include "core/trace.h"
#include "shell/shell_state.h"

using namespace winsim::detail;

namespace {

const std::uintptr_t kProgramModule = 0x400000;

std::string ResourceName(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return name;
}

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("LoadImageA", name ? ResourceName(name) : "");
  if (unsigned fault = InjectedFault("LoadImageA")) {
    SetLastError(fault);
    return nullptr;
  }
  // Only the program's own icon resources are modelled.
  if (type != IMAGE_ICON || (flags & LR_LOADFROMFILE) || reinterpret_cast<std::uintptr_t>(instance) != kProgramModule ||
      !name) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  auto &shell = Shell();
  const winsim::IconGroup *group = nullptr;
  for (const auto &each : shell.iconGroups)
    if (UpperName(each.name) == UpperName(ResourceName(name))) group = &each;
  if (!group || group->sizes.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  int wanted = width ? width : (height ? height : 32);
  int best = group->sizes.front();
  for (int size : group->sizes)
    if (std::abs(size - wanted) < std::abs(best - wanted)) best = size;
  auto handle = reinterpret_cast<HICON>(shell.nextIcon);
  shell.nextIcon += 0x10;
  shell.icons[handle] = winsim::LoadedIcon{handle, group->name, best};
  return handle;
}

BOOL WINAPI DestroyIcon(HICON icon) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("DestroyIcon");
  if (!Shell().icons.erase(icon)) {
    SetLastError(ERROR_INVALID_ICON_HANDLE);
    return FALSE;
  }
  return TRUE;
}

namespace winsim {

void SetProgramIcons(const std::vector<IconGroup> &groups) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Shell().iconGroups = groups;
}

std::vector<LoadedIcon> LiveIcons() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  std::vector<LoadedIcon> icons;
  for (const auto &entry : detail::Shell().icons) icons.push_back(entry.second);
  return icons;
}

}  // namespace winsim
