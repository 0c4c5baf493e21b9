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
  LONG_PTR id = 0;             // GWL_ID: a child window's identifier
  HINSTANCE instance = nullptr;
  bool own = false;            // a window of the program under test
  LONG_PTR ownProc = 0;        // its window procedure (a WNDPROC), when own
  ForeignWindowProc foreignProc;
  bool destroying = false;     // DestroyWindow is under way
};

struct RegisteredClass {
  std::string name;
  ATOM atom = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
};

struct WindowState {
  std::map<HWND, Window> windows;
  std::vector<HWND> topLevel;  // enumeration order of top-level windows
  std::uintptr_t nextHandle = 0x10010;
  std::vector<RegisteredClass> classes;  // the program's registered classes
  ATOM nextAtom = 0xC000;
};

WindowState &Windows();
Window *FindWindowRecord(HWND handle);

// Adds a window to the table under a new handle. A child goes after its
// siblings; a top-level window goes first (a new window of the program lands on
// top of the Z order) or last (the order a test arranges other processes in).
HWND LinkWindow(Window window, bool topLevelFirst);
// Takes a window and its descendants out of the table, without messages.
void UnlinkWindowTree(HWND handle);
// A window's descendants, depth first, each child before its own children.
std::vector<HWND> Descendants(HWND handle);
// A short name of a window for the trace: its class, or what the handle is.
std::string DescribeWindow(HWND handle);
// Window class and title comparisons ignore letter case, as Windows does.
bool SameTextIgnoringCase(const std::string &left, const std::string &right);
const RegisteredClass *FindClass(LPCSTR nameOrAtom);

}  // namespace winsim::detail
