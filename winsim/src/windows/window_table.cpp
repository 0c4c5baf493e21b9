#include <algorithm>
#include <cstdio>

#include "core/component.h"
#include "windows/clock_and_timers.h"
#include "windows/message_queue.h"
#include "windows/ui_state.h"
#include "windows/window_state.h"

namespace winsim {
namespace detail {

WindowState &Windows() { return Component<WindowState>(); }

Window *FindWindowRecord(HWND handle) {
  auto &windows = Windows().windows;
  auto found = windows.find(handle);
  return found == windows.end() ? nullptr : &found->second;
}

HWND LinkWindow(Window window, bool topLevelFirst) {
  auto &state = Windows();
  window.handle = reinterpret_cast<HWND>(state.nextHandle);
  state.nextHandle += 4;
  HWND handle = window.handle;
  if (window.parent) {
    FindWindowRecord(window.parent)->children.push_back(handle);
  } else if (topLevelFirst) {
    state.topLevel.insert(state.topLevel.begin(), handle);
  } else {
    state.topLevel.push_back(handle);
  }
  state.windows.emplace(handle, std::move(window));
  return handle;
}

std::vector<HWND> Descendants(HWND handle) {
  std::vector<HWND> result;
  Window *window = FindWindowRecord(handle);
  if (!window) return result;
  for (HWND child : window->children) {
    result.push_back(child);
    auto below = Descendants(child);
    result.insert(result.end(), below.begin(), below.end());
  }
  return result;
}

void UnlinkWindowTree(HWND handle) {
  Window *window = FindWindowRecord(handle);
  if (!window) return;
  auto children = window->children;
  for (HWND child : children) UnlinkWindowTree(child);
  auto &state = Windows();
  auto &siblings = window->parent ? FindWindowRecord(window->parent)->children : state.topLevel;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  state.windows.erase(handle);
  // A destroyed window takes its posted messages, timers and drawing lock along.
  PurgeMessagesFor(handle);
  DropTimersOf(handle);
  ReleaseLockOf(handle);
}

std::string DescribeWindow(HWND handle) {
  if (!handle) return "NULL";
  if (Window *window = FindWindowRecord(handle)) return window->className;
  char text[32];
  std::snprintf(text, sizeof text, "invalid:%p", static_cast<void *>(handle));
  return text;
}

bool SameTextIgnoringCase(const std::string &left, const std::string &right) {
  if (left.size() != right.size()) return false;
  std::string a = left, b = right;
  CharUpperBuffA(a.data(), static_cast<DWORD>(a.size()));
  CharUpperBuffA(b.data(), static_cast<DWORD>(b.size()));
  return a == b;
}

const RegisteredClass *FindClass(LPCSTR nameOrAtom) {
  auto value = reinterpret_cast<std::uintptr_t>(nameOrAtom);
  for (auto &windowClass : Windows().classes) {
    if (value <= 0xFFFF ? windowClass.atom == value : SameTextIgnoringCase(windowClass.name, nameOrAtom))
      return &windowClass;
  }
  return nullptr;
}

}  // namespace detail

bool WindowExists(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::FindWindowRecord(window) != nullptr;
}

std::string WindowClass(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto *record = detail::FindWindowRecord(window);
  return record ? record->className : std::string();
}

std::string WindowTitle(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto *record = detail::FindWindowRecord(window);
  return record ? record->title : std::string();
}

LONG WindowStyle(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto *record = detail::FindWindowRecord(window);
  return record ? record->style : 0;
}

std::vector<HWND> ProgramWindows() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  std::vector<HWND> result;
  for (HWND top : detail::Windows().topLevel) {
    std::vector<HWND> tree{top};
    auto below = detail::Descendants(top);
    tree.insert(tree.end(), below.begin(), below.end());
    for (HWND window : tree)
      if (detail::FindWindowRecord(window)->own) result.push_back(window);
  }
  return result;
}

HWND FindProgramWindow(const std::string &className) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  for (HWND top : detail::Windows().topLevel) {
    auto *record = detail::FindWindowRecord(top);
    if (record->own && detail::SameTextIgnoringCase(record->className, className)) return top;
  }
  return nullptr;
}

}  // namespace winsim
