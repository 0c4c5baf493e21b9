// Window class name, text, owner and the GWL_ values.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/component.h"
#include "core/trace.h"
#include "windows/message_queue.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace {

// Copies as much as fits with its terminating zero; answers the length copied.
int CopyText(const std::string &text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  int length = std::min(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), static_cast<size_t>(length));
  buffer[length] = '\0';
  return length;
}

Window *WindowOrError(HWND window) {
  Window *record = FindWindowRecord(window);
  if (!record) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return record;
}

// The cell an index names, or null (with the error) for an unknown index.
// Pointer-sized cells are only reachable through the LongPtr functions.
LONG_PTR *Cell(Window &window, int index, bool pointerSized) {
  switch (index) {
    case GWLP_USERDATA:
      return &window.userData;
    case GWLP_ID:
      return &window.id;
    case GWLP_WNDPROC:
      if (pointerSized && window.own) return &window.ownProc;
      break;
    default:
      break;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return nullptr;
}

bool ReadLong(HWND window, int index, bool pointerSized, LONG_PTR *value) {
  Window *record = WindowOrError(window);
  if (!record) return false;
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    *value = index == GWL_STYLE ? record->style : record->exStyle;
    return true;
  }
  if (index == GWLP_HINSTANCE && pointerSized) {
    *value = reinterpret_cast<LONG_PTR>(record->instance);
    return true;
  }
  LONG_PTR *cell = Cell(*record, index, pointerSized);
  if (!cell) return false;
  *value = *cell;
  return true;
}

// On success the last error is left alone: a caller tells a previous value
// of 0 from a failure by clearing the error first.
bool WriteLong(HWND window, int index, LONG_PTR value, bool pointerSized, LONG_PTR *previous) {
  Window *record = WindowOrError(window);
  if (!record) return false;
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    LONG &cell = index == GWL_STYLE ? record->style : record->exStyle;
    *previous = cell;
    cell = static_cast<LONG>(value);
    return true;
  }
  if (index == GWLP_WNDPROC && !record->own) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  LONG_PTR *cell = Cell(*record, index, pointerSized);
  if (!cell) return false;
  *previous = *cell;
  *cell = value;
  return true;
}

std::string Hex(LONG_PTR value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

int WINAPI GetClassNameA(HWND window, LPSTR className, int size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = WindowOrError(window);
  return record ? CopyText(record->className, className, size) : 0;
}

int WINAPI GetWindowTextA(HWND window, LPSTR text, int size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (text && size > 0) text[0] = '\0';
  Window *record = WindowOrError(window);
  return record ? CopyText(record->title, text, size) : 0;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = WindowOrError(window);
  if (!record) return FALSE;
  // The program's own windows get WM_SETTEXT, whose default handling stores it.
  if (record->own) return DeliverMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
  record->title = text ? text : "";
  return TRUE;
}

DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = WindowOrError(window);
  if (!record) return 0;
  if (processId) *processId = record->processId;
  return record->threadId;
}

LONG WINAPI GetWindowLongA(HWND window, int index) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("GetWindowLongA")) {
    SetLastError(fault);
    return 0;
  }
  LONG_PTR value = 0;
  return ReadLong(window, index, false, &value) ? static_cast<LONG>(value) : 0;
}

LONG WINAPI SetWindowLongA(HWND window, int index, LONG value) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("SetWindowLongA")) {
    SetLastError(fault);
    return 0;
  }
  Record("SetWindowLongA", DescribeWindow(window) + " " + std::to_string(index) + " " + Hex(value));
  LONG_PTR previous = 0;
  return WriteLong(window, index, value, false, &previous) ? static_cast<LONG>(previous) : 0;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("GetWindowLongPtrA")) {
    SetLastError(fault);
    return 0;
  }
  LONG_PTR value = 0;
  return ReadLong(window, index, true, &value) ? value : 0;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("SetWindowLongPtrA")) {
    SetLastError(fault);
    return 0;
  }
  Record("SetWindowLongPtrA", DescribeWindow(window) + " " + std::to_string(index) + " " + Hex(value));
  LONG_PTR previous = 0;
  return WriteLong(window, index, value, true, &previous) ? previous : 0;
}
