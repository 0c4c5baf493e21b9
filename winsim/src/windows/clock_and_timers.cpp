#include "windows/clock_and_timers.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "core/component.h"
#include "core/trace.h"
#include "windows/message_queue.h"
#include "windows/window_state.h"
#include "winsim/windows.h"

using namespace winsim::detail;

namespace {

// GetTickCount starts a few seconds before it wraps round, as on a machine up
// for 49.7 days: arithmetic on ticks that forgets the wrap shows at once.
const std::uint64_t kBootTick = 0xFFFFF000u;
const UINT kMinimumTimerInterval = 10;  // USER_TIMER_MINIMUM

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT interval;
  std::uint64_t due;
};

struct ClockState {
  std::uint64_t now = kBootTick;
  bool waiting = false;
  std::uint64_t waitEnd = 0;
  std::vector<Timer> timers;
  std::multimap<std::uint64_t, std::function<void()>> events;
};

ClockState &Clock() { return Component<ClockState>(); }

// Runs the events due up to `until` in time order (each one sees the clock at
// its own time), then leaves the clock at `until`.
void AdvanceClockTo(std::uint64_t until) {
  auto &clock = Clock();
  while (!clock.events.empty() && clock.events.begin()->first <= until) {
    auto next = clock.events.begin();
    clock.now = std::max(clock.now, next->first);
    std::function<void()> event = std::move(next->second);
    clock.events.erase(next);
    event();
  }
  clock.now = std::max(clock.now, until);
}

std::vector<Timer>::iterator FindTimer(HWND window, UINT_PTR id) {
  auto &timers = Clock().timers;
  return std::find_if(timers.begin(), timers.end(),
                      [&](const Timer &timer) { return timer.window == window && timer.id == id; });
}

}  // namespace

namespace winsim::detail {

bool PostDueTimer() {
  auto &clock = Clock();
  for (Timer &timer : clock.timers) {
    if (timer.due > clock.now) continue;
    timer.due = clock.now + timer.interval;
    MSG msg = {};
    msg.hwnd = timer.window;
    msg.message = WM_TIMER;
    msg.wParam = timer.id;
    msg.lParam = 0;
    msg.time = static_cast<DWORD>(clock.now);
    Queue().posted.push_back(msg);
    return true;
  }
  return false;
}

bool AdvanceClockWhileWaiting() {
  auto &clock = Clock();
  if (!clock.waiting) return false;
  std::uint64_t next = clock.waitEnd;
  for (const Timer &timer : clock.timers) next = std::min(next, timer.due);
  if (!clock.events.empty()) next = std::min(next, clock.events.begin()->first);
  AdvanceClockTo(std::max(next, clock.now));
  if (clock.now >= clock.waitEnd) clock.waiting = false;
  return true;
}

void DropTimersOf(HWND window) {
  auto &timers = Clock().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer &timer) { return timer.window == window; }),
               timers.end());
}

}  // namespace winsim::detail

DWORD WINAPI GetTickCount() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return static_cast<DWORD>(Clock().now);
}

void WINAPI Sleep(DWORD milliseconds) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("Sleep", std::to_string(milliseconds));
  AdvanceClockTo(Clock().now + milliseconds);
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = window ? FindWindowRecord(window) : nullptr;
  // Only timers of the program's own windows, posted to its queue, are modelled.
  if (!record || !record->own || procedure) {
    SetLastError(record ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (unsigned fault = InjectedFault("SetTimer")) {
    SetLastError(fault);
    return 0;
  }
  Record("SetTimer", DescribeWindow(window) + " " + std::to_string(id) + " " + std::to_string(elapse));
  const UINT interval = std::max(elapse, kMinimumTimerInterval);
  auto &clock = Clock();
  auto existing = FindTimer(window, id);
  if (existing != clock.timers.end()) clock.timers.erase(existing);
  clock.timers.push_back(Timer{window, id, interval, clock.now + interval});
  return id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("KillTimer", DescribeWindow(window) + " " + std::to_string(id));
  auto existing = FindTimer(window, id);
  if (existing == Clock().timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // As on Windows, a WM_TIMER already posted stays in the queue.
  Clock().timers.erase(existing);
  return TRUE;
}

namespace winsim {

DWORD Ticks() { return GetTickCount(); }

void ScheduleEvent(DWORD delay, std::function<void()> event) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  Clock().events.emplace(Clock().now + delay, std::move(event));
}

IdleAction Elapse(DWORD milliseconds) {
  return [milliseconds] {
    auto &clock = Clock();
    clock.waiting = true;
    clock.waitEnd = clock.now + milliseconds;
  };
}

size_t ActiveTimers() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return Clock().timers.size();
}

}  // namespace winsim
