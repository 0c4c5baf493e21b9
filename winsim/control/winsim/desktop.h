// Test-facing helpers for the shell's desktop: its list view of icons, which
// answers list-view messages inside the shell's own process, and a whole shell
// desktop (process, window tree, icons) in one call.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <commctrl.h>
#include <windows.h>

#include "winsim/processes.h"

namespace winsim {

struct DesktopIcon {
  std::string caption;
  int x = 0;
  int y = 0;
  bool itemQueryFails = false;      // LVM_GETITEMA answers FALSE for it
  bool positionQueryFails = false;  // LVM_GETITEMPOSITION answers FALSE for it
  bool textLeftUnwritten = false;   // LVM_GETITEMA answers TRUE without writing its text
  // LVM_GETITEMA fills the caller's whole text buffer, the caption and then
  // kUnterminatedPadding, with no terminating zero.
  bool textFillsBuffer = false;
};

const char kUnterminatedPadding = '~';

// A "SysListView32" window of the given process holding these icons. Pointers
// in its messages are addresses in that process, and item records are read in
// that process's own layout (32-bit or 64-bit).
HWND AddShellListView(HWND parent, DWORD processId, const std::vector<DesktopIcon> &icons,
                      LONG style = LVS_ICON | LVS_SHAREIMAGELISTS);
// The icons as the list view holds them now (positions after any moves).
std::vector<DesktopIcon> ListViewIcons(HWND listView);
void SetListViewIcons(HWND listView, const std::vector<DesktopIcon> &icons);
// LVM_GETITEMCOUNT answers `excess` items more than the view holds (queries
// for the missing ones fail as for any index past the end).
void SetListViewCountExcess(HWND listView, int excess);
// How the list view has drawn itself: whether its redraw is on (WM_SETREDRAW),
// how often it repainted (after each move or invalidation while redraw is on)
// and how often it was invalidated (InvalidateRect).
struct ListViewPainting {
  bool redraw = true;
  int paints = 0;
  int invalidations = 0;
};
ListViewPainting ListViewPaintState(HWND listView);
// Called after the list view has handled each message, as if another process
// acted between the program's calls.
void SetListViewObserver(HWND listView, std::function<void(UINT message, WPARAM wParam, LPARAM lParam)> observer);

// Where the shell view lives: under "Progman" as on most systems, or under a
// "WorkerW" top-level window, as on later systems with a changing wallpaper
// (then "Progman" exists without a shell view, and an empty "WorkerW" comes
// before the one that holds it).
enum class DesktopHost { Progman, WorkerW };

struct ShellDesktopSetup {
  ProcessKind shellKind = ProcessKind::Native64;
  DesktopHost host = DesktopHost::Progman;
  std::vector<DesktopIcon> icons;
  LONG listViewStyle = LVS_ICON | LVS_SHAREIMAGELISTS;
};

struct ShellDesktop {
  DWORD processId = 0;
  HWND progman = nullptr;
  HWND workerW = nullptr;  // the one holding the shell view, when hosted there
  HWND shellView = nullptr;
  HWND listView = nullptr;
};

// Adds an "explorer.exe" process and its desktop windows; "Progman" is
// registered as the shell window, as the shell does when it starts.
ShellDesktop BuildShellDesktop(const ShellDesktopSetup &setup);

// Makes `window` what GetShellWindow answers (null: no shell registered one).
void RegisterShellWindow(HWND window);

}  // namespace winsim
