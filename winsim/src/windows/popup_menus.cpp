// Popup menus: items appended with their flags, the default item, and
// TrackPopupMenu answered by the test's script of user choices.
#include <cstring>

#include "core/component.h"
#include "core/trace.h"
#include "shell/shell_state.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace {

MenuRecord *MenuOrError(HMENU menu) {
  auto &menus = Shell().menus;
  auto found = menus.find(menu);
  if (found == menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  return &found->second;
}

// The item an (id or position) reference names, or -1.
int ItemIndex(const MenuRecord &record, UINT item, bool byPosition) {
  if (byPosition) return item < record.items.size() ? static_cast<int>(item) : -1;
  for (size_t i = 0; i < record.items.size(); ++i)
    if (!(record.items[i].flags & MF_SEPARATOR) && record.items[i].id == item) return static_cast<int>(i);
  return -1;
}

}  // namespace

HMENU WINAPI CreatePopupMenu() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("CreatePopupMenu")) {
    SetLastError(fault);
    return nullptr;
  }
  auto &shell = Shell();
  auto menu = reinterpret_cast<HMENU>(shell.nextMenu);
  shell.nextMenu += 0x10;
  shell.menus[menu] = MenuRecord{};
  Record("CreatePopupMenu");
  return menu;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  MenuRecord *record = MenuOrError(menu);
  if (!record) return FALSE;
  winsim::MenuItem item;
  item.flags = flags;
  item.id = idNewItem;
  // A separator has no text; a string item's text is copied.
  if (!(flags & MF_SEPARATOR) && newItem) item.text = newItem;
  record->items.push_back(item);
  return TRUE;
}

BOOL WINAPI SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  MenuRecord *record = MenuOrError(menu);
  if (!record) return FALSE;
  // The old default goes first, even when the new one is not found; (UINT)-1
  // only takes it away.
  record->defaultPosition = -1;
  if (item == static_cast<UINT>(-1)) return TRUE;
  int index = ItemIndex(*record, item, byPosition != 0);
  if (index < 0) return FALSE;
  record->defaultPosition = index;
  return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU menu) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("DestroyMenu");
  if (!MenuOrError(menu)) return FALSE;
  Shell().menus.erase(menu);
  return TRUE;
}

int WINAPI GetMenuItemCount(HMENU menu) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  MenuRecord *record = MenuOrError(menu);
  return record ? static_cast<int>(record->items.size()) : -1;
}

UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  MenuRecord *record = MenuOrError(menu);
  if (!record) return static_cast<UINT>(-1);
  int index = ItemIndex(*record, item, (flags & MF_BYPOSITION) != 0);
  if (index < 0) return static_cast<UINT>(-1);
  const auto &entry = record->items[static_cast<size_t>(index)];
  UINT state = entry.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR);
  if (index == record->defaultPosition) state |= MF_DEFAULT;
  return state;
}

int WINAPI GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (text && size > 0) text[0] = '\0';
  MenuRecord *record = MenuOrError(menu);
  if (!record) return 0;
  int index = ItemIndex(*record, item, (flags & MF_BYPOSITION) != 0);
  if (index < 0) return 0;
  const std::string &itemText = record->items[static_cast<size_t>(index)].text;
  if (!text || size <= 0) return static_cast<int>(itemText.size());
  size_t length = std::min(itemText.size(), static_cast<size_t>(size - 1));
  std::memcpy(text, itemText.data(), length);
  text[length] = '\0';
  return static_cast<int>(length);
}

UINT WINAPI GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  MenuRecord *record = MenuOrError(menu);
  if (!record || record->defaultPosition < 0) return static_cast<UINT>(-1);
  if (byPosition) return static_cast<UINT>(record->defaultPosition);
  return static_cast<UINT>(record->items[static_cast<size_t>(record->defaultPosition)].id);
}

UINT WINAPI GetMenuItemID(HMENU menu, int position) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  MenuRecord *record = MenuOrError(menu);
  if (!record || position < 0 || static_cast<size_t>(position) >= record->items.size()) return static_cast<UINT>(-1);
  const auto &item = record->items[static_cast<size_t>(position)];
  return item.flags & MF_SEPARATOR ? 0 : static_cast<UINT>(item.id);
}

// The menu shows until the user picks an item or dismisses it. Without
// TPM_RETURNCMD the pick is posted to the owner as WM_COMMAND and the call
// answers TRUE either way; with it, the call answers the command (0: none).
BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT *) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("TrackPopupMenu")) {
    SetLastError(fault);
    return FALSE;
  }
  MenuRecord *record = MenuOrError(menu);
  if (!record) return FALSE;
  if (!FindWindowRecord(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  auto &shell = Shell();
  winsim::ShownMenu shown;
  shown.items = record->items;
  shown.defaultPosition = record->defaultPosition;
  shown.flags = flags;
  shown.x = x;
  shown.y = y;
  shown.owner = owner;
  if (!shell.menuChoices.empty()) {
    UINT choice = shell.menuChoices.front();
    shell.menuChoices.pop_front();
    int index = ItemIndex(*record, choice, false);
    // A grey or disabled item cannot be chosen: the click only closes the menu.
    if (index >= 0 && !(record->items[static_cast<size_t>(index)].flags & (MF_GRAYED | MF_DISABLED)))
      shown.chosen = choice;
  }
  Record("TrackPopupMenu", std::to_string(shown.chosen));
  shell.shownMenus.push_back(shown);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(shown.chosen);
  if (shown.chosen) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(shown.chosen, 0), 0);
  return TRUE;
}

namespace winsim {

void ChooseMenuCommands(const std::vector<UINT> &commands) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto &choices = detail::Shell().menuChoices;
  choices.insert(choices.end(), commands.begin(), commands.end());
}

std::vector<ShownMenu> ShownMenus() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Shell().shownMenus;
}

int LiveMenuCount() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return static_cast<int>(detail::Shell().menus.size());
}

}  // namespace winsim
