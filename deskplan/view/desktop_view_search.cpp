#include "deskplan/view/desktop_view_search.h"

#include <climits>
#include <cstring>

#include <commctrl.h>

#include "deskplan/app/program_state.h"

const char *const DesktopClassTable[2] = {"SysListView32", "SHELLDLL_DefView"};

namespace {

// Enumeration goes on; the value has all bits set.
const BOOL kGoOn = static_cast<BOOL>(~0u);

// A cell above 1 holds a window, not a table index.
bool HoldsWindow(UINT_PTR cell) { return cell > 1; }

}  // namespace

BOOL CALLBACK MatchChildClass(HWND window, LPARAM cell) {
  auto *sought = reinterpret_cast<UINT_PTR *>(cell);
  if (HoldsWindow(*sought)) return FALSE;
  char className[260] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, DesktopClassTable[*sought]) != 0) return kGoOn;
  *sought = reinterpret_cast<UINT_PTR>(window);
  return FALSE;
}

BOOL CALLBACK MatchShellViewHost(HWND window, LPARAM cell) {
  auto *shellView = reinterpret_cast<UINT_PTR *>(cell);
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  if (desktopHostClass != className) return kGoOn;
  HWND child = FindWindowExA(window, nullptr, DesktopClassTable[1], nullptr);
  *shellView = reinterpret_cast<UINT_PTR>(child);
  return child ? FALSE : kGoOn;
}

HWND FindDesktopListView() {
  ViewSearch search = {1, 0};
  HWND programManager = FindWindowA("Progman", "Program Manager");
  EnumChildWindows(programManager, MatchChildClass, reinterpret_cast<LPARAM>(&search.shellView));
  if (search.shellView == 1) EnumWindows(MatchShellViewHost, reinterpret_cast<LPARAM>(&search.shellView));
  if (HoldsWindow(search.shellView))
    EnumChildWindows(reinterpret_cast<HWND>(search.shellView), MatchChildClass,
                     reinterpret_cast<LPARAM>(&search.listView));
  return HoldsWindow(search.listView) ? reinterpret_cast<HWND>(search.listView) : nullptr;
}

int ReadItemCount(HWND view) {
  LRESULT count = SendMessageA(view, LVM_GETITEMCOUNT, 0, 0);
  if (count <= 0) return 0;
  return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}
