// The desktop's folder view: the shell's own interface to the icons on the
// desktop (Windows Vista and later). From Windows 10 version 1809 on the shell
// keeps its own record of the icons' positions, which only placements through
// this view update; moves sent to the list view show but do not last.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "deskplan/view/com_holders.h"

struct DesktopShellItem {
  UniqueItemId id;
  std::string name;  // the display name, in the ANSI code page
};

// Enters COM and opens the view: the shell's window list, its desktop window,
// that window's top-level browser, the browser's active view as a folder
// view, and the view's folder. Every reference is released, and COM left,
// when the object goes.
class DesktopFolderView {
 public:
  DesktopFolderView();
  DesktopFolderView(const DesktopFolderView &) = delete;
  DesktopFolderView &operator=(const DesktopFolderView &) = delete;

  bool IsOpen() const { return static_cast<bool>(folder_); }
  // Every item in the view's order with its display name; false, with
  // nothing in `items`, when any item cannot be listed or named.
  bool ReadItems(std::vector<DesktopShellItem> &items) const;
  // Places the items at the points (in the list view's coordinates), all in
  // one call.
  bool PositionItems(const std::vector<const DesktopShellItem *> &items, const std::vector<POINT> &points) const;

 private:
  ComApartment apartment_;  // declared first: left last
  ComRef<IFolderView> view_;
  ComRef<IShellFolder> folder_;
};

// Whether a window belongs to the running shell: the process that registered
// the shell window. Only that process's desktop has the folder view through
// which the shell takes icon places into its own record.
bool IsInShellProcess(HWND window);
