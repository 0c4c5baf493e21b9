// Sending and dispatching messages to window procedures; the default
// window procedure.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/component.h"
#include "core/trace.h"
#include "windows/message_queue.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace winsim::detail {

LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window *record = FindWindowRecord(window);
  if (!record) return 0;
  if (record->own) {
    auto proc = reinterpret_cast<WNDPROC>(record->ownProc);
    return proc ? proc(window, message, wParam, lParam) : 0;
  }
  // A copy: the simulation may remove its own window while it runs.
  ForeignWindowProc proc = record->foreignProc;
  return proc ? proc(window, message, wParam, lParam) : 0;
}

}  // namespace winsim::detail

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!record->own) {
    char text[16];
    std::snprintf(text, sizeof text, " 0x%x", message);
    Record("SendMessageA", DescribeWindow(window) + text);
  }
  return DeliverMessage(window, message, wParam, lParam);
}

LRESULT WINAPI DispatchMessageA(const MSG *message) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!message || !message->hwnd) return 0;
  if (!FindWindowRecord(message->hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return DeliverMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = FindWindowRecord(window);
  if (!record) return 0;
  switch (message) {
    case WM_NCCREATE: {
      // Creation goes on, and the window takes its title from the creation data.
      auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
      if (create && create->lpszName) record->title = create->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SETTEXT:
      record->title = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(record->title.size());
    case WM_GETTEXT: {
      auto size = static_cast<size_t>(wParam);
      auto *buffer = reinterpret_cast<LPSTR>(lParam);
      if (!buffer || size == 0) return 0;
      size_t length = std::min(record->title.size(), size - 1);
      std::memcpy(buffer, record->title.data(), length);
      buffer[length] = '\0';
      return static_cast<LRESULT>(length);
    }
    default:
      return 0;
  }
}
