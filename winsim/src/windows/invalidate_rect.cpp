// InvalidateRect: any window may be invalidated, also another process's; the
// shell's list view counts it (see winsim/desktop.h).
#include "core/component.h"
#include "core/trace.h"
#include "listview/list_view_paint.h"
#include "windows/window_state.h"

using namespace winsim::detail;

BOOL WINAPI InvalidateRect(HWND window, const RECT *, BOOL) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("InvalidateRect", DescribeWindow(window));
  if (!window) return TRUE;  // every window: nothing of the shell's is counted
  if (!FindWindowRecord(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  InvalidateListView(window);
  return TRUE;
}
