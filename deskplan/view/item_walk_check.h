// Whether a walk over the view's items saw one desktop. A walk reads the item
// count once; an item the view then cannot give although its index is below
// that count means, when the view has gone with its process or now counts
// otherwise, that the walk broke off or that items went away (or the shell
// refilled its view) during it: what the walk read is not the desktop, and a
// layout made of it would be partial.
#pragma once

#include <vector>

#include <windows.h>

#include "deskplan/view/remote_item_channel.h"

// A view gives every item it holds, also one without a caption: a whole batch
// it gives nothing of lies past its items (its count said more than it holds)
// or finds the view emptied or gone. The walk ends there rather than ask for
// every item counted, and the check below tells which it was.
bool NoItemReadable(const std::vector<RemoteItem> &items);

// When `itemSkipped`: raises OsError with ERROR_INVALID_WINDOW_HANDLE when the
// view is gone, with ERROR_RETRY when its count now differs from
// `countAtStart`. Does nothing otherwise (a skipped item of an unchanged view
// is one without a caption).
void CheckWalkSawOneDesktop(HWND view, int countAtStart, bool itemSkipped);
