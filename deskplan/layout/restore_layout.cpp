#include "deskplan/layout/restore_layout.h"

#include <vector>

#include <commctrl.h>

#include "common/unique_any.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/layout/drawing_lock.h"
#include "deskplan/layout/icon_position.h"
#include "deskplan/layout/layout_name.h"
#include "deskplan/layout/used_names.h"
#include "deskplan/view/item_count.h"
#include "deskplan/view/item_walk_check.h"
#include "deskplan/view/remote_item_channel.h"
#include "deskplan/view/shared_item_area.h"

namespace {

// Only an 8-byte REG_BINARY value is a stored position.
bool QueryIconPosition(HKEY key, const std::string &name, IconPosition &position) {
  BYTE data[8];
  DWORD type = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
  if (type != REG_BINARY || size != sizeof data) return false;
  position = IconPosition::FromBytes(data);
  return true;
}

}  // namespace

void ShowAutoArrangeNotice() {
  if (AppOptions.quiet) return;
  MessageBoxA(nullptr, "Veuillez désactiver l'option du bureau :\r\nAffichage : Réorganisation automatique",
              "Deskplan", MB_ICONINFORMATION);
}

void PrepareViewForRestore(HWND view) {
  LONG style = GetWindowLongA(view, GWL_STYLE);
  if (style == 0 || !(style & LVS_AUTOARRANGE)) return;
  ShowAutoArrangeNotice();
  SetWindowLongA(view, GWL_STYLE, style ^ LVS_AUTOARRANGE);
}

void RestoreLayout(HWND view, const std::string &keyPath, RedrawGuard &redraw, RestoredIcons *restored) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
  UniqueRegKey key(opened);
  PrepareViewForRestore(view);
  DrawingLock lock(view);
  RemoteItemChannel channel(view);
  if (!channel.IsOpen()) return;
  redraw.Suspend();
  if (restored) restored->Clear();
  UsedNames usedNames;
  int count = ReadItemCount(view);
  bool skipped = false;
  for (int first = 0; first < count; first += kItemBatchSize) {
    std::vector<RemoteItem> items = channel.ReadItems(first, count - first, ItemQuery::Caption);
    if (NoItemReadable(items)) {
      skipped = true;
      break;
    }
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
      if (!items[slot].readable) {
        skipped = true;
        continue;
      }
      std::string name = UniqueValueName(items[slot].caption, usedNames);
      IconPosition position;
      if (!QueryIconPosition(key.Get(), name, position)) continue;
      usedNames.Add(name);
      // A failed position query was stored as (-1, -1): the icon keeps its place.
      if (position.IsUnknown()) {
        if (restored) restored->Accept(name);
        continue;
      }
      channel.SetItemPosition(first + static_cast<int>(slot), position.x, position.y);
      if (restored) restored->Place(name, POINT{position.x, position.y});
    }
  }
  // Icons the view stopped giving were not put back: say so.
  CheckWalkSawOneDesktop(view, count, skipped);
}

void RestoreLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area) {
  PrepareViewForRestore(view);
  DrawingLock lock(view);
  RedrawGuard redraw(view);
  redraw.Suspend();
  std::string keyPath = LayoutKeyPath(layoutName);
  int count = ReadItemCount(view);
  bool skipped = false;
  for (int index = 0; index < count; ++index) {
    std::string caption;
    POINT current;
    if (!area.ReadItem(view, index, caption, current)) {
      skipped = true;
      continue;
    }
    int32_t packed = ReadRegInteger(HKEY_CURRENT_USER, keyPath, caption, -1);
    if (packed == -1) continue;
    auto bits = static_cast<DWORD>(packed);
    area.SetItemPosition(view, index, PackedIconPosition::UnpackX(bits), PackedIconPosition::UnpackY(bits));
  }
  CheckWalkSawOneDesktop(view, count, skipped);
}
