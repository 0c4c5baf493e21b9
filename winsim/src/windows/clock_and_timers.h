// The simulated machine's millisecond clock, the program's window timers and
// the world's scheduled events. The clock only moves when the program waits:
// in Sleep, or in GetMessageA while the idle script says time passes.
#pragma once

#include <windows.h>

namespace winsim::detail {

// Posts WM_TIMER for one timer whose interval has run out; true when it did.
bool PostDueTimer();
// While an Elapse idle action is in progress, moves the clock to the next due
// timer, scheduled event or the end of the wait; false when no wait is on.
bool AdvanceClockWhileWaiting();
// A destroyed window takes its timers along.
void DropTimersOf(HWND window);

}  // namespace winsim::detail
