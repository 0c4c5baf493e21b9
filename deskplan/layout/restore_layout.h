// The restore passes: every icon whose caption has a stored value goes back to
// the stored place.
#pragma once

#include <string>

#include <windows.h>

#include "deskplan/layout/redraw_guard.h"
#include "deskplan/layout/restored_icons.h"

class SharedItemArea;

// Cross-process method. A failed memory copy in the shell's process raises
// OsError after the pass has released everything it took. The pass turns the
// view's redraw off through `redraw` before it moves anything; the caller's
// guard turns it back on once, after all its passes. When `restored` is given,
// a pass that reaches the icons records there the names it accepted and where
// it sent each icon (what an earlier pass recorded is dropped).
void RestoreLayout(HWND view, const std::string &keyPath, RedrawGuard &redraw, RestoredIcons *restored = nullptr);

// Shared-area method; the layout key is known to exist. The view repaints once,
// after the pass.
void RestoreLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area);

// Icons that the view arranges itself would not stay where they are put:
// switch the arrangement off, after telling the user.
void PrepareViewForRestore(HWND view);
void ShowAutoArrangeNotice();
