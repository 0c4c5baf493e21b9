#include "deskplan/layout/restore_layout.h"

#include <vector>

#include <commctrl.h>

#include "common/little_endian.h"
#include "common/unique_any.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/layout/icon_position.h"
#include "deskplan/layout/layout_name.h"
#include "deskplan/view/desktop_folder_view.h"
#include "deskplan/view/shared_item_area.h"

namespace {

UniqueRegKey OpenLayoutKey(const std::string &keyPath) {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
    key.Release();
  return key;
}

}  // namespace

void RestoredIcons::Accept(const std::string &name) { names_[name] = Entry(); }

void RestoredIcons::Place(const std::string &name, POINT at) {
  Entry &entry = names_[name];
  entry.placed = true;
  entry.at = at;
}

const POINT *RestoredIcons::PlaceOf(const std::string &name) const {
  auto found = names_.find(name);
  return found != names_.end() && found->second.placed ? &found->second.at : nullptr;
}

void ShowAutoArrangeNotice() {
  if (AppOptions.quiet) return;
  MessageBoxA(nullptr, "Veuillez désactiver l'option du bureau :\r\nAffichage : Réorganisation automatique",
              kProgramName, MB_ICONINFORMATION);
}

void PrepareViewForRestore(HWND view) {
  LONG style = GetWindowLongA(view, GWL_STYLE);
  if (style == 0 || !(style & LVS_AUTOARRANGE)) return;
  ShowAutoArrangeNotice();
  SetWindowLongA(view, GWL_STYLE, style ^ LVS_AUTOARRANGE);
}

void RestoreLayout(HWND view, const std::string &keyPath, RedrawGuard &redraw, RestoredIcons *restored) {
  const UniqueRegKey key = OpenLayoutKey(keyPath);
  if (!key) return;
  PrepareViewForRestore(view);
  DrawingLock lock(view);
  RemoteItemChannel channel(view);
  if (!channel.IsOpen()) return;
  redraw.Suspend();
  if (restored) restored->Clear();
  WalkItems(view, channel, ItemQuery::Caption, restored ? &restored->Captions() : nullptr,
            [&](const WalkedItem &item) {
              // Only an 8-byte REG_BINARY value is a stored position.
              BYTE data[8];
              if (!ReadRegFixedValue(key.Get(), item.name, REG_BINARY, data, sizeof data)) return NameUse::PassedOver;
              const IconPosition position = IconPosition::FromBytes(data);
              // A failed position query was stored as (-1, -1): the icon keeps its place.
              if (position.IsUnknown()) {
                if (restored) restored->Accept(item.name);
                return NameUse::Taken;
              }
              channel.SetItemPosition(item.index, position.x, position.y);
              if (restored) restored->Place(item.name, POINT{position.x, position.y});
              return NameUse::Taken;
            });
}

void RestoreLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area) {
  PrepareViewForRestore(view);
  DrawingLock lock(view);
  RedrawGuard redraw(view);
  redraw.Suspend();
  const UniqueRegKey key = OpenLayoutKey(LayoutKeyPath(layoutName));
  WalkItems(view, area, [&](const WalkedItem &item) {
    BYTE data[4];
    if (!key || !ReadRegFixedValue(key.Get(), item.name, REG_DWORD, data, sizeof data)) return NameUse::PassedOver;
    const auto bits = static_cast<DWORD>(GetInt32(data));
    // A value of -1 stands for no position.
    if (bits == 0xFFFFFFFF) return NameUse::PassedOver;
    area.SetItemPosition(view, item.index, PackedIconPosition::UnpackX(bits), PackedIconPosition::UnpackY(bits));
    return NameUse::Taken;
  });
}

void PlaceThroughFolderView(HWND view, const RestoredIcons &restored) {
  if (restored.Empty() || !IsInShellProcess(view)) return;
  DesktopFolderView folderView;
  if (!folderView.IsOpen()) return;
  std::vector<DesktopShellItem> items;
  if (!folderView.ReadItems(items)) return;
  std::vector<const DesktopShellItem *> placed;
  std::vector<POINT> points;
  WalkItems(items, [&](const WalkedItem &item) {
    if (!restored.Accepted(item.name)) return NameUse::PassedOver;
    if (const POINT *at = restored.PlaceOf(item.name)) {
      placed.push_back(&items[static_cast<std::size_t>(item.index)]);
      points.push_back(*at);
    }
    return NameUse::Taken;
  });
  if (!placed.empty()) folderView.PositionItems(placed, points);
}
