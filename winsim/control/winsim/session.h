// Test-facing record of the calls that end the user's session and that tell
// the shell about changes.
#pragma once

#include <vector>

#include <windows.h>

namespace winsim {

struct ExitWindowsCall {
  UINT flags = 0;
  DWORD reason = 0;
};
// Every ExitWindowsEx call since the last Reset, in order.
std::vector<ExitWindowsCall> ExitWindowsCalls();

struct ShellChangeNotification {
  LONG eventId = 0;
  UINT flags = 0;
  const void *item1 = nullptr;
  const void *item2 = nullptr;
};
// Every SHChangeNotify call since the last Reset, in order.
std::vector<ShellChangeNotification> ShellChangeNotifications();

}  // namespace winsim
