// The restore passes: every icon whose caption has a stored value goes back to
// the stored place.
#pragma once

#include <string>

#include <windows.h>

class SharedItemArea;

// Cross-process method. A failed memory copy in the shell's process raises
// OsError after the pass has released everything it took.
void RestoreLayout(HWND view, const std::string &keyPath);

// Shared-area method; the layout key is known to exist.
void RestoreLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area);

// Icons that the view arranges itself would not stay where they are put:
// switch the arrangement off, after telling the user.
void PrepareViewForRestore(HWND view);
void ShowAutoArrangeNotice();
