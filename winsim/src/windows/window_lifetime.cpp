// Creating, showing and destroying windows.
#include <string>

#include "core/component.h"
#include "core/trace.h"
#include "windows/message_queue.h"
#include "windows/window_state.h"

using namespace winsim::detail;

namespace {

// Windows gives every top-level window WS_CLIPSIBLINGS, and an overlapped
// (neither child nor popup) window a caption too.
LONG EffectiveStyle(DWORD style, bool topLevel) {
  if (!topLevel) return static_cast<LONG>(style);
  style |= WS_CLIPSIBLINGS;
  if (!(style & WS_POPUP)) style |= WS_CAPTION;
  return static_cast<LONG>(style);
}

// WM_NCDESTROY goes to the children before their parent, each window leaving
// the table right after its own WM_NCDESTROY.
void FinishDestroy(HWND window) {
  Window *record = FindWindowRecord(window);
  if (!record) return;
  auto children = record->children;
  for (HWND child : children) FinishDestroy(child);
  if (FindWindowRecord(window)) DeliverMessage(window, WM_NCDESTROY, 0, 0);
  UnlinkWindowTree(window);
}

}  // namespace

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("CreateWindowExA")) {
    SetLastError(fault);
    return nullptr;
  }
  const RegisteredClass *windowClass = className ? FindClass(className) : nullptr;
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent && !FindWindowRecord(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!parent && (style & WS_CHILD)) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }

  Window window;
  window.className = windowClass->name;
  window.parent = parent;
  window.processId = GetCurrentProcessId();
  window.threadId = GetCurrentThreadId();
  window.style = EffectiveStyle(style, parent == nullptr);
  window.exStyle = static_cast<LONG>(exStyle);
  window.id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
  window.instance = instance;
  window.own = true;
  window.ownProc = reinterpret_cast<LONG_PTR>(windowClass->proc);
  HWND handle = LinkWindow(std::move(window), true);
  Record("CreateWindowExA", DescribeWindow(handle) + " \"" + (windowName ? windowName : "") + "\"");

  CREATESTRUCTA create = {};
  create.lpCreateParams = param;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parent;
  create.cy = height;
  create.cx = width;
  create.y = y;
  create.x = x;
  create.style = static_cast<LONG>(style);
  create.lpszName = windowName;
  create.lpszClass = className;
  create.dwExStyle = exStyle;
  auto createParam = reinterpret_cast<LPARAM>(&create);
  // A window that refuses WM_NCCREATE or answers -1 to WM_CREATE is destroyed
  // at once (only WM_NCDESTROY reaches it) and creation fails.
  if (!DeliverMessage(handle, WM_NCCREATE, 0, createParam) ||
      (FindWindowRecord(handle) && DeliverMessage(handle, WM_CREATE, 0, createParam) == -1)) {
    FinishDestroy(handle);
    return nullptr;
  }
  return FindWindowRecord(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Only the thread that created a window may destroy it.
  if (!record->own) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (record->destroying) return FALSE;
  Record("DestroyWindow", DescribeWindow(window));
  // WM_DESTROY goes to the window first, then to its descendants.
  std::vector<HWND> tree{window};
  auto below = Descendants(window);
  tree.insert(tree.end(), below.begin(), below.end());
  for (HWND each : tree)
    if (Window *doomed = FindWindowRecord(each)) doomed->destroying = true;
  for (HWND each : tree)
    if (FindWindowRecord(each)) DeliverMessage(each, WM_DESTROY, 0, 0);
  FinishDestroy(window);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return FindWindowRecord(window) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  // Visible means this window and all its ancestors carry WS_VISIBLE.
  for (Window *record = FindWindowRecord(window); record; record = FindWindowRecord(record->parent)) {
    if (!(record->style & WS_VISIBLE)) return FALSE;
    if (!record->parent) return TRUE;
  }
  return FALSE;
}

HWND WINAPI GetParent(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return record->parent;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Window *record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Record("ShowWindow", DescribeWindow(window) + " " + std::to_string(command));
  bool wasVisible = (record->style & WS_VISIBLE) != 0;
  bool visible = command != SW_HIDE;
  if (visible)
    record->style |= WS_VISIBLE;
  else
    record->style &= ~WS_VISIBLE;
  if (visible != wasVisible && record->own) DeliverMessage(window, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
  return wasVisible ? TRUE : FALSE;
}
