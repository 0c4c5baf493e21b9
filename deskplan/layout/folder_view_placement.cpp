#include "deskplan/layout/folder_view_placement.h"

#include <vector>

#include "deskplan/layout/used_names.h"
#include "deskplan/view/desktop_folder_view.h"
#include "deskplan/view/shell_process.h"

void PlaceThroughFolderView(HWND view, const RestoredIcons &restored) {
  if (restored.Empty() || !IsInShellProcess(view)) return;
  DesktopFolderView folderView;
  if (!folderView.IsOpen()) return;
  std::vector<DesktopShellItem> items;
  if (!folderView.ReadItems(items)) return;
  UsedNames usedNames;
  std::vector<const DesktopShellItem *> placed;
  std::vector<POINT> points;
  for (const DesktopShellItem &item : items) {
    std::string name = UniqueValueName(item.name, usedNames);
    if (!restored.Accepted(name)) continue;
    usedNames.Add(name);
    if (const POINT *at = restored.PlaceOf(name)) {
      placed.push_back(&item);
      points.push_back(*at);
    }
  }
  if (!placed.empty()) folderView.PositionItems(placed, points);
}
