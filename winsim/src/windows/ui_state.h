// What the user interface recorded: message boxes and their scripted
// answers, and the system-wide drawing lock.
#pragma once

#include <deque>
#include <vector>

#include "winsim/ui.h"

namespace winsim::detail {

struct UiState {
  std::deque<int> messageBoxAnswers;
  std::vector<MessageBoxCall> messageBoxes;
  HWND lockedWindow = nullptr;
  std::vector<LockWindowUpdateCall> lockCalls;
};

UiState &Ui();
// A window that goes away gives up the drawing lock it held.
void ReleaseLockOf(HWND window);

}  // namespace winsim::detail
