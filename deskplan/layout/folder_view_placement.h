// From Windows 10 version 1809 on, icons moved through the desktop list view
// show where they were put but the shell keeps its own record of the places
// and goes back to it at the next refresh or log-on. Placing the same icons
// through the desktop's folder view updates that record too.
#pragma once

#include <windows.h>

#include "deskplan/layout/restored_icons.h"

// Sends every icon the restore moved to the same place through the folder
// view, in one call. The desktop's items are named by the same rule as the
// layout's values (equal names get distinct value names, in the view's order),
// so icons with equal captions are matched as the restore matched them. Does
// nothing when any step fails: what the restore did stands. Nor when `view`
// is not the running shell's: that shell's folder view shows another desktop,
// and asking for it can take seconds (a shell window list started on demand).
void PlaceThroughFolderView(HWND view, const RestoredIcons &restored);
