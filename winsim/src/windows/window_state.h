// The window table shared by the window functions, the message queue and the
// simulations of other processes' windows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "winsim/windows.h"

namespace winsim::detail {

struct Window {
  HWND handle = nullptr;
  std::string className;
  std::string title;
  HWND parent = nullptr;
  std::vector<HWND> children;  // in creation order, which is enumeration order
  DWORD processId = 0;
  DWORD threadId = 0;
  LONG style = 0;
  LONG exStyle = 0;
  LONG_PTR userData = 0;
  bool own = false;            // a window of the program under test
  LONG_PTR ownProc = 0;        // its window procedure (a WNDPROC), when own
  ForeignWindowProc foreignProc;
};

struct WindowState {
  std::map<HWND, Window> windows;
  std::vector<HWND> topLevel;  // enumeration order of top-level windows
  std::uintptr_t nextHandle = 0x10010;
};

WindowState &Windows();
Window *FindWindowRecord(HWND handle);

}  // namespace winsim::detail
