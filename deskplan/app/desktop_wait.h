// The tray's wait for a settled desktop: what it will do once the shell has
// finished with the view, driven by a window timer so that the menu and every
// other message are still answered meanwhile.
#pragma once

#include <windows.h>

#include "deskplan/layout/desktop_settling.h"

// What the wait does when it ends, in this order. Each restore is asked for
// by an option, which is read again then: turned off meanwhile, no restore.
const unsigned kWorkSaveFirstLayout = 1;     // only from a settled desktop, and only when no layout exists yet
const unsigned kWorkReapplyProtection = 2;  // when the user wants it and it is not in force (the view came late)
const unsigned kWorkRestoreAtStartup = 4;   // restoreAtStartup
const unsigned kWorkAutomaticRestore = 8;   // autoRestore

const UINT_PTR kDesktopWaitTimer = 1;

// Starts a wait, or extends the one in progress: its clock starts again, its
// rules become the stricter of both, its work the union. The view is looked
// at once at once, and then every poll interval.
void AwaitSettledDesktop(HWND window, const SettleRules &rules, unsigned work);
// The wait ends without doing its work (a command from the menu supersedes
// it, or the window goes).
void CancelDesktopWait(HWND window);
// WM_TIMER of kDesktopWaitTimer: one look; at the verdict the wait ends and
// its work runs. A restore that breaks off raises OsError to the caller.
void PollDesktopWait(HWND window);
bool DesktopWaitPending();
