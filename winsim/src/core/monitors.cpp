// One monitor, the primary screen, whose handle is the only valid HMONITOR.
#include "core/os_state.h"
#include "core/trace.h"
#include "optional_api.h"

namespace {
HMONITOR PrimaryMonitor() { return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10001)); }
}  // namespace

BOOL WINAPI GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info) {
  winsim::detail::Record("GetMonitorInfoA");
  if (monitor != PrimaryMonitor() || !info || info->cbSize < sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  info->rcMonitor = screen;
  info->rcWork = screen;
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}
