// The list view's side of InvalidateRect.
#pragma once

#include <windows.h>

namespace winsim::detail {

// Counts an invalidation of a shell list view (and a repaint while its redraw
// is on); false when the window is no list view.
bool InvalidateListView(HWND window);

}  // namespace winsim::detail
