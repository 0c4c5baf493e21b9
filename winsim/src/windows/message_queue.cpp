// Posting and retrieving messages; the quit flag; the idle script.
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/component.h"
#include "core/trace.h"
#include "windows/clock_and_timers.h"
#include "windows/message_queue.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace winsim::detail {

MessageQueueState &Queue() { return Component<MessageQueueState>(); }

void PurgeMessagesFor(HWND window) {
  auto &posted = Queue().posted;
  posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const MSG &msg) { return msg.hwnd == window; }),
               posted.end());
}

}  // namespace winsim::detail

namespace {

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

bool IsSelfOrDescendant(HWND window, HWND ancestor) {
  for (Window *record = FindWindowRecord(window); record; record = FindWindowRecord(record->parent))
    if (record->handle == ancestor) return true;
  return false;
}

// The window filter takes the window and its descendants, (HWND)-1 only
// messages posted without a window; the range 0..0 takes every message.
bool Wanted(const MSG &msg, HWND window, UINT filterMin, UINT filterMax) {
  if (window == kThreadMessagesOnly && msg.hwnd) return false;
  if (window && window != kThreadMessagesOnly && !IsSelfOrDescendant(msg.hwnd, window)) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

// Posted messages come first; the quit flag only when none is left that the
// filter takes, whatever the order they were posted in.
bool TakeMessage(LPMSG out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  auto &queue = Queue();
  for (auto each = queue.posted.begin(); each != queue.posted.end(); ++each) {
    if (!Wanted(*each, window, filterMin, filterMax)) continue;
    *out = *each;
    if (remove) queue.posted.erase(each);
    return true;
  }
  if (!queue.quitPending) return false;
  *out = MSG{};
  out->message = WM_QUIT;
  out->wParam = queue.quitCode;
  if (remove) queue.quitPending = false;
  return true;
}

std::string Hex(UINT value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

}  // namespace

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("PostMessageA")) {
    SetLastError(fault);
    return FALSE;
  }
  Window *record = window ? FindWindowRecord(window) : nullptr;
  if (window && !record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Record("PostMessageA", DescribeWindow(window) + " " + Hex(message));
  if (record && !record->own) {
    // The other process's thread would take it from its own queue soon after;
    // the simulation of that window handles it at once.
    DeliverMessage(window, message, wParam, lParam);
    return TRUE;
  }
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  Queue().posted.push_back(msg);
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("PostQuitMessage", std::to_string(exitCode));
  Queue().quitPending = true;
  Queue().quitCode = static_cast<WPARAM>(exitCode);
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (window && window != kThreadMessagesOnly && !FindWindowRecord(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  // Where Windows would wait, the test's idle script acts in the user's place.
  while (!TakeMessage(message, window, filterMin, filterMax, true)) {
    if (PostDueTimer() || AdvanceClockWhileWaiting()) continue;
    auto &script = Queue().idleScript;
    if (script.empty()) {
      std::fprintf(stderr, "winsim: GetMessageA would wait forever: the idle script is used up\n");
      throw winsim::MessageLoopStarved{"GetMessageA found no message and no idle action left"};
    }
    winsim::IdleAction action = std::move(script.front());
    script.pop_front();
    action();
  }
  return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (window && window != kThreadMessagesOnly && !FindWindowRecord(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  // As on Windows, a timer whose interval ran out makes its WM_TIMER here too.
  if (TakeMessage(message, window, filterMin, filterMax, remove)) return TRUE;
  return PostDueTimer() && TakeMessage(message, window, filterMin, filterMax, remove) ? TRUE : FALSE;
}

// No keyboard here: nothing to translate into characters.
BOOL WINAPI TranslateMessage(const MSG *message) {
  if (!message) return FALSE;
  switch (message->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      return TRUE;
    default:
      return FALSE;
  }
}

namespace winsim {

std::vector<MSG> QueuedMessages() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto &posted = detail::Queue().posted;
  return std::vector<MSG>(posted.begin(), posted.end());
}

bool QuitPending() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Queue().quitPending;
}

void SetIdleScript(std::vector<IdleAction> actions) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Queue().idleScript.assign(actions.begin(), actions.end());
}

size_t RemainingIdleActions() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Queue().idleScript.size();
}

}  // namespace winsim
