// The cursor position and the foreground window.
#include "core/component.h"
#include "core/trace.h"
#include "shell/shell_state.h"
#include "windows/window_state.h"

using namespace winsim::detail;

BOOL WINAPI GetCursorPos(LPPOINT point) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!point) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  *point = Shell().cursor;
  return TRUE;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("SetForegroundWindow", DescribeWindow(window));
  if (!FindWindowRecord(window)) return FALSE;
  Shell().foreground = window;
  return TRUE;
}

HWND WINAPI GetForegroundWindow() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return FindWindowRecord(Shell().foreground) ? Shell().foreground : nullptr;
}

namespace winsim {

void SetCursorPosition(int x, int y) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Shell().cursor = POINT{x, y};
}

HWND ForegroundWindow() { return GetForegroundWindow(); }

}  // namespace winsim
