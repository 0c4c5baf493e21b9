// Test-facing control of the user interface the program shows: message boxes
// with scripted answers, and the system-wide drawing lock (LockWindowUpdate).
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace winsim {

struct MessageBoxCall {
  HWND owner = nullptr;
  std::string text;     // the bytes the program passed, unchanged
  std::string caption;  // likewise; Windows shows "Error" for a null caption
  UINT type = 0;
  int answer = 0;       // what MessageBoxA returned
};

// Answers the next message boxes give, in order; a box with no scripted answer
// left returns its default button (MB_DEFBUTTONn of its buttons).
void AnswerMessageBoxes(const std::vector<int> &answers);
size_t UnusedMessageBoxAnswers();
// Every message box shown since the last Reset, in order.
std::vector<MessageBoxCall> MessageBoxes();
// The button a box of this type returns when the user just presses Enter.
int DefaultButton(UINT type);

struct LockWindowUpdateCall {
  HWND window = nullptr;  // null: an unlock
  std::string className;  // of the window at the time of the call
  BOOL result = FALSE;
};

// The window whose drawing is locked now, or null.
HWND LockedWindow();
// Every LockWindowUpdate call since the last Reset, in order.
std::vector<LockWindowUpdateCall> LockWindowUpdateCalls();

}  // namespace winsim
