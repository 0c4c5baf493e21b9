// Whether a walk over the view's items saw one desktop. A walk reads the item
// count once; an item the view then cannot give although its index is below
// that count, while the view now counts otherwise, means that items went away
// (or the shell refilled its view) during the walk: what the walk read is not
// the desktop, and a layout made of it would be partial.
#pragma once

#include <windows.h>

// Raises OsError with ERROR_RETRY when `itemSkipped` and the view's count now
// differs from `countAtStart`; does nothing otherwise (a skipped item of an
// unchanged view is one without a caption).
void CheckWalkSawOneDesktop(HWND view, int countAtStart, bool itemSkipped);
