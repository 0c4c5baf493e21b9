// The shell window: the desktop window the running shell registers, so that
// programs can tell the shell's process from others.
#include "core/component.h"
#include "shell/shell_state.h"
#include "windows/window_state.h"
#include "winsim/desktop.h"

using namespace winsim::detail;

HWND WINAPI GetShellWindow() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  // A shell that ended takes its window along; none is then registered.
  return FindWindowRecord(Shell().shellWindow) ? Shell().shellWindow : nullptr;
}

namespace winsim {

void RegisterShellWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Shell().shellWindow = window;
}

}  // namespace winsim
