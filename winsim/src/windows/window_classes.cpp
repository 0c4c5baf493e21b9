// RegisterClassA / UnregisterClassA: the program's own window classes.
#include <algorithm>

#include "core/component.h"
#include "core/trace.h"
#include "windows/window_state.h"

using namespace winsim::detail;

ATOM WINAPI RegisterClassA(const WNDCLASSA *windowClass) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("RegisterClassA")) {
    SetLastError(fault);
    return 0;
  }
  if (!windowClass || !windowClass->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Record("RegisterClassA", windowClass->lpszClassName);
  if (FindClass(windowClass->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto &state = Windows();
  RegisteredClass registered;
  registered.name = windowClass->lpszClassName;
  registered.atom = state.nextAtom++;
  registered.proc = windowClass->lpfnWndProc;
  registered.instance = windowClass->hInstance;
  state.classes.push_back(registered);
  return registered.atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  const RegisteredClass *windowClass = className ? FindClass(className) : nullptr;
  if (!windowClass) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  auto &state = Windows();
  for (auto &entry : state.windows) {
    if (entry.second.own && SameTextIgnoringCase(entry.second.className, windowClass->name)) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  }
  Record("UnregisterClassA", windowClass->name);
  auto &classes = state.classes;
  classes.erase(std::remove_if(classes.begin(), classes.end(),
                               [&](const RegisteredClass &entry) { return &entry == windowClass; }),
                classes.end());
  return TRUE;
}

namespace winsim {

std::vector<std::string> RegisteredClasses() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  std::vector<std::string> names;
  for (auto &windowClass : Windows().classes) names.push_back(windowClass.name);
  return names;
}

}  // namespace winsim
