// RegisterWindowMessageA: one number per name for the whole system, in the
// range 0xC000 to 0xFFFF, names compared without regard to case.
#include "core/component.h"
#include "core/trace.h"
#include "shell/shell_state.h"
#include "windows/window_state.h"

using namespace winsim::detail;

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("RegisterWindowMessageA", name ? name : "");
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto &shell = Shell();
  auto inserted = shell.registeredMessages.emplace(UpperName(name), shell.nextRegisteredMessage);
  if (inserted.second) ++shell.nextRegisteredMessage;
  return inserted.first->second;
}

namespace winsim {

IdleAction BroadcastRegisteredMessage(const std::string &name) {
  return [name] {
    UINT message = RegisterWindowMessageA(name.c_str());
    std::vector<HWND> topLevel;
    {
      std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
      topLevel = detail::Windows().topLevel;
    }
    for (HWND window : topLevel)
      if (IsWindow(window)) SendMessageA(window, message, 0, 0);
  };
}

}  // namespace winsim
