// Finding and enumerating windows, in the order Windows walks them.
#include <algorithm>

#include "core/component.h"
#include "core/trace.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace {

// A null class or title matches any window.
bool Matches(const Window &window, LPCSTR className, LPCSTR title) {
  if (className) {
    auto value = reinterpret_cast<std::uintptr_t>(className);
    if (value <= 0xFFFF) {
      const RegisteredClass *windowClass = FindClass(className);
      if (!windowClass || !window.own || !SameTextIgnoringCase(windowClass->name, window.className)) return false;
    } else if (!SameTextIgnoringCase(window.className, className)) {
      return false;
    }
  }
  return !title || SameTextIgnoringCase(window.title, title);
}

// Runs the callback over a list taken beforehand, skipping windows destroyed
// meanwhile; answers FALSE when the callback stopped the walk.
BOOL Walk(const std::vector<HWND> &windows, WNDENUMPROC callback, LPARAM lParam) {
  for (HWND window : windows) {
    if (!FindWindowRecord(window)) continue;
    if (!callback(window, lParam)) return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  return FindWindowExA(nullptr, nullptr, className, windowName);
}

HWND WINAPI FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  const std::vector<HWND> *siblings = &Windows().topLevel;
  if (parent) {
    Window *record = FindWindowRecord(parent);
    if (!record) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    siblings = &record->children;
  }
  auto start = siblings->begin();
  if (childAfter) {
    start = std::find(siblings->begin(), siblings->end(), childAfter);
    if (start == siblings->end()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    ++start;
  }
  for (auto each = start; each != siblings->end(); ++each)
    if (Matches(*FindWindowRecord(*each), className, windowName)) return *each;
  return nullptr;
}

BOOL WINAPI EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("EnumWindows")) {
    SetLastError(fault);
    return FALSE;
  }
  return Walk(Windows().topLevel, callback, lParam);
}

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("EnumChildWindows")) {
    SetLastError(fault);
    return FALSE;
  }
  // No parent: the children of the desktop, which are the top-level windows.
  if (!parent) return Walk(Windows().topLevel, callback, lParam);
  if (!FindWindowRecord(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return Walk(Descendants(parent), callback, lParam);
}
