// Test-facing control of the window system: windows of other processes (the
// shell's desktop, its list view) and what the program's own windows did.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace winsim {

// Handles a message sent to a window of another process (the shell's list
// view, for instance). It runs "in" that process: pointers in lParam are
// addresses in that process's memory, not in the program's.
using ForeignWindowProc = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

struct ForeignWindow {
  std::string className;
  std::string title;
  HWND parent = nullptr;  // null: a top-level window
  DWORD processId = 0;    // owning process (see winsim/processes.h)
  LONG style = 0;
  ForeignWindowProc proc;  // may be empty: such a window answers 0
};

// Creates a window of another process; children are appended after their
// existing siblings, top-level windows after existing top-level windows.
HWND AddForeignWindow(const ForeignWindow &window);
// Removes a foreign window and its descendants, as when that process ends.
void RemoveForeignWindow(HWND window);

// Whether a handle names a live window, its class and its style.
bool WindowExists(HWND window);
std::string WindowClass(HWND window);
LONG WindowStyle(HWND window);

}  // namespace winsim
