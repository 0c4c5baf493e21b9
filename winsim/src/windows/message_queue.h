// The program's message queue: posted messages, the quit flag, and the idle
// script that stands in for the user while the program waits.
#pragma once

#include <deque>

#include "winsim/windows.h"

namespace winsim::detail {

struct MessageQueueState {
  std::deque<MSG> posted;
  bool quitPending = false;
  WPARAM quitCode = 0;
  std::deque<IdleAction> idleScript;
};

MessageQueueState &Queue();
void PurgeMessagesFor(HWND window);

// Calls the procedure of a window: the program's own, or the simulation of
// another process's window. A window without a procedure answers 0.
LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winsim::detail
