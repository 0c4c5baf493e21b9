// Test-facing control of the desktop's folder view: the shell object behind
// the desktop list view that CLSID_ShellWindows leads to (FindWindowSW with
// SWC_DESKTOP, SID_STopLevelBrowser, QueryActiveShellView, IFolderView).
//
// Shells from Windows 10 version 1809 on keep their own record of where the
// desktop icons are. Moves sent to the list view (LVM_SETITEMPOSITION) show on
// screen but leave that record as it was; placements through the folder view
// (SelectAndPositionItems with SVSI_POSITIONITEM) change both; a refresh or a
// new log-on puts every icon back where the record says.
//
// Calls that can be made to fail with FailNext/FailAlways: "CoInitialize",
// "CoCreateInstance", "IShellWindows::FindWindowSW",
// "QueryInterface(IServiceProvider)", "IServiceProvider::QueryService",
// "IShellBrowser::QueryActiveShellView", "QueryInterface(IFolderView)",
// "IFolderView::GetFolder", "IFolderView::Items", "IEnumIDList::Next",
// "IShellFolder::GetDisplayNameOf", "IFolderView::SelectAndPositionItems".
// Each is also recorded in the trace under that name.
#pragma once

#include <vector>

#include <windows.h>

namespace winsim {

struct FolderViewSetup {
  bool keepsPositionRecord = true;  // Windows 10 version 1809 and later
  bool desktopFound = true;         // FindWindowSW with SWC_DESKTOP finds the desktop
};

// Registers CLSID_ShellWindows with a desktop folder view over this list view
// (its items, in the list view's order). Without it CoCreateInstance answers
// REGDB_E_CLASSNOTREG. The position record starts as the list view's positions.
void AddDesktopFolderView(HWND listView, const FolderViewSetup &setup = FolderViewSetup());

// The shell redraws the desktop from its record, when it keeps one.
void RefreshDesktop();
std::vector<POINT> ShellPositionRecord();

// Bookkeeping for leak checks: references on the shell's objects not yet
// released, blocks of task memory not yet freed, frees of memory that was not
// (or no longer) allocated, and CoInitialize calls not yet undone.
int LiveComReferences();
int LiveTaskMemoryBlocks();
int BadTaskMemoryFrees();
int ComApartmentDepth();

}  // namespace winsim
