// Finding the shell's desktop list view by walking the window tree, and the
// number of items it holds.
#pragma once

#include <windows.h>

// The classes the search looks for, by index.
extern const char *const DesktopClassTable[2];

// Two cells, each first the index of the class sought, then the window found.
// Cells are pointer-wide so that a 64-bit build keeps whole handles.
struct ViewSearch {
  UINT_PTR shellView;  // starts at 1: "SHELLDLL_DefView"
  UINT_PTR listView;   // starts at 0: "SysListView32"
};

// The desktop's "SysListView32", or null when there is none.
HWND FindDesktopListView();

// EnumChildWindows callback: `cell` is the address of a ViewSearch cell.
BOOL CALLBACK MatchChildClass(HWND window, LPARAM cell);
// EnumWindows callback: `cell` is the address of the first ViewSearch cell.
BOOL CALLBACK MatchShellViewHost(HWND window, LPARAM cell);

// The number of items the list view holds, read once per pass; 0 when the
// view answers 0 or less.
int ReadItemCount(HWND view);
