// A window class whose procedure records the messages it gets, for tests of
// the simulated window system.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "winsim/machine.h"
#include "winsim/windows.h"

namespace winsim_windows_test {

struct Delivered {
  HWND window;
  UINT message;
  WPARAM wParam;
};

// Messages the recording procedure saw, and what it answers to WM_CREATE.
inline std::vector<Delivered> &Log() {
  static std::vector<Delivered> log;
  return log;
}
inline LRESULT &CreateAnswer() {
  static LRESULT answer = 0;
  return answer;
}
inline bool &QuitOnDestroy() {
  static bool quit = false;
  return quit;
}

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back({window, message, wParam});
  if (message == WM_CREATE) return CreateAnswer();
  if (message == WM_DESTROY && QuitOnDestroy()) PostQuitMessage(7);
  return DefWindowProcA(window, message, wParam, lParam);
}

// The messages in the log, keeping only those listed.
inline std::vector<UINT> MessagesAmong(const std::vector<UINT> &wanted) {
  std::vector<UINT> result;
  for (auto &entry : Log())
    for (UINT message : wanted)
      if (entry.message == message) result.push_back(message);
  return result;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    Log().clear();
    CreateAnswer() = 0;
    QuitOnDestroy() = false;
    Register("TestFrame");
    Register("TestChild");
  }

  static void Register(const char *name) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    ASSERT_NE(RegisterClassA(&windowClass), 0);
  }

  static HWND Frame(const char *title = "Frame") {
    return CreateWindowExA(0, "TestFrame", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  static HWND Child(HWND parent, const char *title = "Child", const char *className = "TestChild") {
    return CreateWindowExA(0, className, title, WS_CHILD, 0, 0, 10, 10, parent, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
  }

  // The shell's desktop as another process shows it.
  static HWND Foreign(const std::string &className, const std::string &title = "", HWND parent = nullptr,
                      LONG style = 0) {
    winsim::ForeignWindow window;
    window.className = className;
    window.title = title;
    window.parent = parent;
    window.processId = 2000;
    window.style = style;
    return winsim::AddForeignWindow(window);
  }
};

}  // namespace winsim_windows_test
