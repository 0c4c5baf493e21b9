#include "deskplan/layout/save_layout.h"

#include <exception>
#include <vector>

#include "common/os_error.h"
#include "deskplan/layout/icon_position.h"
#include "deskplan/layout/item_walk.h"
#include "deskplan/layout/layout_key_replacement.h"
#include "deskplan/layout/layout_name.h"

namespace {

// Reads every item through the shell's process into its value. A walk that
// cannot start, breaks off or sees items go away raises OsError before
// anything is stored; false only when memory ran out here.
bool ReadAllItems(HWND view, std::vector<LayoutValue> &values) {
  RemoteItemChannel channel(view);
  if (!channel.IsOpen()) throw OsError(channel.OpenError());
  try {
    WalkItems(view, channel, ItemQuery::CaptionAndPosition, nullptr, [&](const WalkedItem &item) {
      const auto data = IconPosition{item.position.x, item.position.y}.ToBytes();
      values.push_back({item.name, REG_BINARY, std::vector<BYTE>(data.begin(), data.end())});
      return NameUse::Taken;
    });
  } catch (const OsError &) {
    throw;  // the shell went away or a memory copy failed
  } catch (const std::exception &) {
    return false;
  }
  return true;
}

}  // namespace

void SaveLayout(HWND view, const std::string &keyPath) {
  std::vector<LayoutValue> values;
  if (ReadAllItems(view, values)) ReplaceLayoutValues(keyPath, values);
}

void SaveLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area) {
  std::vector<LayoutValue> values;
  WalkItems(view, area, [&](const WalkedItem &item) {
    const DWORD packed = PackedIconPosition::Pack(item.position.x, item.position.y);
    values.push_back({item.name, REG_DWORD,
                      {static_cast<BYTE>(packed), static_cast<BYTE>(packed >> 8), static_cast<BYTE>(packed >> 16),
                       static_cast<BYTE>(packed >> 24)}});
    return NameUse::Taken;
  });
  // Unanswered queries are items without a caption, unless the view went
  // away with the shell's process: then the walk broke off.
  if (!IsWindow(view)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    RaiseLastOsError();
  }
  ReplaceLayoutValues(LayoutKeyPath(layoutName), values);
}
