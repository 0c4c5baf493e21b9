// Driving Deskplan's tray under Wine as a user would: the X pointer and
// keyboard through xdotool, Wine's own notification area and popup menu seen
// through the test shell, and the tray process's CPU time from Linux.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "testshell_client.h"

namespace e2e {

// Where the tray keeps its options.
const char kOptionsKey[] = "HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\Options";

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int CentreX() const { return x + width / 2; }
  int CentreY() const { return y + height / 2; }
};

// Runs xdotool with these arguments on the session's display; true on exit 0.
bool Xdo(const std::vector<std::string>& args, std::string* output = nullptr);

// Wine's stand-alone notification area ("Wine System Tray", an X window of
// explorer.exe) shows while it holds at least one icon, each in a square cell
// from its left edge. Deskplan's is the only icon of the session: answers 1
// and the first cell when the area shows, 0 when it does not.
int TrayIcons(ScreenRect* first = nullptr);
bool WaitForTrayIcons(int count, ScreenRect* first = nullptr,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));
// The popup menu on screen, once one shows.
bool WaitForMenu(TestShell& shell, ScreenRect& menu, std::chrono::milliseconds timeout = std::chrono::seconds(10));
bool WaitForNoMenu(TestShell& shell, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// CPU time (user and system) that all threads of a Linux process have used.
std::chrono::nanoseconds ProcessCpuTime(pid_t pid);

void SleepFor(std::chrono::milliseconds duration);

// Polls until the condition holds or the time is up; answers the condition.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    SleepFor(std::chrono::milliseconds(100));
  }
  return true;
}
}  // namespace e2e
