// ExitWindowsEx and SHChangeNotify: recorded, with Windows' answers. The
// log-off itself happens after the program has ended, so nothing else changes.
#include <mutex>
#include <shlobj.h>

#include "core/component.h"
#include "core/trace.h"
#include "winsim/session.h"

using namespace winsim::detail;

namespace {

struct SessionCalls {
  std::vector<winsim::ExitWindowsCall> exits;
  std::vector<winsim::ShellChangeNotification> notifications;
};

SessionCalls &Calls() { return Component<SessionCalls>(); }

}  // namespace

BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reason) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("ExitWindowsEx", std::to_string(flags) + "|" + std::to_string(reason));
  if (unsigned fault = InjectedFault("ExitWindowsEx")) {
    SetLastError(fault);
    return FALSE;
  }
  Calls().exits.push_back({flags, reason});
  return TRUE;
}

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("SHChangeNotify", std::to_string(eventId) + "|" + std::to_string(flags));
  Calls().notifications.push_back({eventId, flags, item1, item2});
}

namespace winsim {

std::vector<ExitWindowsCall> ExitWindowsCalls() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return Calls().exits;
}

std::vector<ShellChangeNotification> ShellChangeNotifications() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return Calls().notifications;
}

}  // namespace winsim
