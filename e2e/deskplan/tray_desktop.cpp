#include "tray_desktop.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "child_process.h"

namespace e2e {
namespace {

bool ParseRect(const std::string& text, ScreenRect& rect) {
  return std::sscanf(text.c_str(), "%d %d %d %d", &rect.x, &rect.y, &rect.width, &rect.height) == 4;
}

}  // namespace

void SleepFor(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

bool Xdo(const std::vector<std::string>& args, std::string* output) {
  std::vector<std::string> command = {"xdotool"};
  command.insert(command.end(), args.begin(), args.end());
  const ProgramResult result = RunProgram(command, std::chrono::seconds(20));
  if (output) *output = result.output;
  return !result.timedOut && result.exitCode == 0;
}

int TrayIcons(ScreenRect* first) {
  std::string windows;
  if (!Xdo({"search", "--onlyvisible", "--name", "^Wine System Tray$"}, &windows)) return 0;
  std::string geometry;
  const std::string window = windows.substr(0, windows.find('\n'));
  if (window.empty() || !Xdo({"getwindowgeometry", "--shell", window}, &geometry)) return 0;
  ScreenRect area;
  for (const char* field : {"X=", "Y=", "WIDTH=", "HEIGHT="}) {
    const std::size_t at = geometry.find(std::string("\n") + field);
    const int value = at == std::string::npos ? -1 : std::atoi(geometry.c_str() + at + 1 + std::strlen(field));
    if (field[0] == 'X') area.x = value;
    if (field[0] == 'Y') area.y = value;
    if (field[0] == 'W') area.width = value;
    if (field[0] == 'H') area.height = value;
  }
  if (area.width <= 0 || area.height <= 0) return 0;
  if (first) *first = ScreenRect{area.x, area.y, area.height, area.height};
  return 1;
}

bool WaitForTrayIcons(int count, ScreenRect* first, std::chrono::milliseconds timeout) {
  return WaitUntil([&] { return TrayIcons(first) == count; }, timeout);
}

bool WaitForMenu(TestShell& shell, ScreenRect& menu, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        const std::string reply = shell.Ask("menu");
        return reply.compare(0, 5, "menu ") == 0 && ParseRect(reply.substr(5), menu);
      },
      timeout);
}

bool WaitForNoMenu(TestShell& shell, std::chrono::milliseconds timeout) {
  return WaitUntil([&] { return shell.Ask("menu") == "error no-menu"; }, timeout);
}

std::chrono::nanoseconds ProcessCpuTime(pid_t pid) {
  // Each thread's schedstat starts with the nanoseconds it ran on a CPU.
  std::chrono::nanoseconds total{0};
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* folder = opendir(tasks.c_str());
  if (folder == nullptr) return total;
  while (dirent* entry = readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
    long long ran = 0;
    if (stat >> ran) total += std::chrono::nanoseconds(ran);
  }
  closedir(folder);
  return total;
}

}  // namespace e2e
