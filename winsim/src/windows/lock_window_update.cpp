// LockWindowUpdate: the system holds one drawing lock, for one window.
#include "core/component.h"
#include "core/trace.h"
#include "windows/ui_state.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace winsim::detail {

UiState &Ui() { return Component<UiState>(); }

void ReleaseLockOf(HWND window) {
  if (Ui().lockedWindow == window) Ui().lockedWindow = nullptr;
}

}  // namespace winsim::detail

BOOL WINAPI LockWindowUpdate(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &ui = Ui();
  Record("LockWindowUpdate", DescribeWindow(window));
  winsim::LockWindowUpdateCall call;
  call.window = window;
  call.className = window ? winsim::WindowClass(window) : std::string();
  if (unsigned fault = InjectedFault("LockWindowUpdate")) {
    SetLastError(fault);
  } else if (!window) {
    ui.lockedWindow = nullptr;
    call.result = TRUE;
  } else if (!FindWindowRecord(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  } else if (!ui.lockedWindow) {
    // Taken only when free: not even the window holding it may take it again.
    ui.lockedWindow = window;
    call.result = TRUE;
  }
  ui.lockCalls.push_back(call);
  return call.result;
}

namespace winsim {

HWND LockedWindow() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Ui().lockedWindow;
}

std::vector<LockWindowUpdateCall> LockWindowUpdateCalls() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Ui().lockCalls;
}

}  // namespace winsim
