#include "deskplan/layout/save_layout.h"

#include <exception>
#include <vector>

#include "common/unique_reg_key.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/layout/icon_position.h"
#include "deskplan/layout/layout_name.h"
#include "deskplan/layout/used_names.h"
#include "deskplan/view/item_count.h"
#include "deskplan/view/remote_item_channel.h"
#include "deskplan/view/shared_item_area.h"

namespace {

struct SavedIcon {
  std::string name;
  POINT position;
};

// Reads every item through the shell's process; false when the walk could not
// start or broke off, in which case nothing may be stored.
bool ReadAllItems(HWND view, std::vector<SavedIcon> &icons) {
  RemoteItemChannel channel(view);
  if (!channel.IsOpen()) return false;
  try {
    UsedNames usedNames;
    int count = ReadItemCount(view);
    for (int first = 0; first < count; first += kItemBatchSize) {
      for (auto &item : channel.ReadItems(first, count - first, ItemQuery::CaptionAndPosition)) {
        if (!item.readable) continue;
        std::string name = UniqueValueName(item.caption, usedNames);
        usedNames.Add(name);
        icons.push_back({name, item.position});
      }
    }
  } catch (const std::exception &) {
    return false;  // the shell went away or a memory copy failed
  }
  return true;
}

void ReplaceLayoutKey(const std::string &keyPath, const std::vector<SavedIcon> &icons) {
  RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
  HKEY created = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &created, nullptr) != ERROR_SUCCESS)
    return;
  UniqueRegKey key(created);
  for (const auto &icon : icons) {
    auto data = IconPosition{icon.position.x, icon.position.y}.ToBytes();
    RegSetValueExA(key.Get(), icon.name.c_str(), 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
  }
}

}  // namespace

void SaveLayout(HWND view, const std::string &keyPath) {
  std::vector<SavedIcon> icons;
  if (ReadAllItems(view, icons)) ReplaceLayoutKey(keyPath, icons);
}

void SaveLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area) {
  std::vector<SavedIcon> icons;
  int count = ReadItemCount(view);
  for (int index = 0; index < count; ++index) {
    SavedIcon icon;
    if (area.ReadItem(view, index, icon.name, icon.position)) icons.push_back(icon);
  }
  std::string keyPath = LayoutKeyPath(layoutName);
  DeleteRegKeyTree(HKEY_CURRENT_USER, keyPath);
  for (const auto &icon : icons)
    WriteRegInteger(HKEY_CURRENT_USER, keyPath, icon.name,
                    static_cast<int32_t>(PackedIconPosition::Pack(icon.position.x, icon.position.y)));
}
