// The one command through which every save and restore runs.
#pragma once

#include <windows.h>

// 0 saves, 1 restores; any other mode only finds the view and names the layout.
typedef BYTE LayoutMode;
const LayoutMode kSaveLayout = 0;
const LayoutMode kRestoreLayout = 1;

// Finds the desktop list view afresh, names the layout after the display
// size, picks the access method and runs the pass(es). A cross-process restore
// whose memory copy fails raises OsError to the caller.
void RunLayoutCommand(LayoutMode mode);
