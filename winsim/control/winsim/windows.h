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
  DWORD threadId = 0;      // 0: one made up from the process id
};

// Creates a window of another process; children are appended after their
// existing siblings, top-level windows after existing top-level windows.
HWND AddForeignWindow(const ForeignWindow &window);
// Removes a foreign window and its descendants, as when that process ends.
void RemoveForeignWindow(HWND window);

// Whether a handle names a live window, its class, title, parent and style.
bool WindowExists(HWND window);
std::string WindowClass(HWND window);
std::string WindowTitle(HWND window);
LONG WindowStyle(HWND window);

// The program's own windows still alive, top-level windows first, each
// followed by its descendants: after the program has ended, its leaks.
std::vector<HWND> ProgramWindows();
// The first of the program's top-level windows of this class, or null.
HWND FindProgramWindow(const std::string &className);
// Window classes the program has registered and not unregistered.
std::vector<std::string> RegisteredClasses();

// Messages posted to the program and not yet retrieved, in queue order; and
// whether PostQuitMessage left a quit waiting.
std::vector<MSG> QueuedMessages();
bool QuitPending();

// The message loop. When GetMessageA would wait (nothing queued that it may
// take, no quit waiting), winsim runs the next action of this script instead;
// with the script used up, GetMessageA throws MessageLoopStarved.
using IdleAction = std::function<void()>;
void SetIdleScript(std::vector<IdleAction> actions);
size_t RemainingIdleActions();

// Thrown out of GetMessageA when the program waits for a message that no one
// will ever send. Deliberately not a std::exception, so that product code,
// which catches std::exception at window-procedure boundaries, lets it through
// and the test fails instead of hanging.
struct MessageLoopStarved {
  std::string detail;
};

// Time. The machine's millisecond clock (GetTickCount) moves only while the
// program waits: by the length of a Sleep, or through the idle action
// Elapse, during which GetMessageA delivers WM_TIMER as intervals run out.
// Scheduled events are what the world does at a time: they run when the
// clock passes it, inside Sleep or GetMessageA.
DWORD Ticks();
void ScheduleEvent(DWORD delay, std::function<void()> event);
IdleAction Elapse(DWORD milliseconds);
// Timers the program has set and not killed (those of its destroyed windows
// are gone).
size_t ActiveTimers();

// Ready-made idle actions. The program's window is looked up by class when
// the action runs, since it only exists once the program has started; when
// it is missing, the action throws MessageLoopStarved as well.
IdleAction PostToProgramWindow(const std::string &className, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
IdleAction PostMenuCommand(const std::string &className, WORD commandId);
IdleAction CloseProgramWindow(const std::string &className);
// Sets the screen (and virtual screen) size, then sends WM_DISPLAYCHANGE to
// every top-level window, as Windows does after a change of display mode.
IdleAction ChangeDisplayMode(int width, int height, int bitsPerPixel = 32);

}  // namespace winsim
