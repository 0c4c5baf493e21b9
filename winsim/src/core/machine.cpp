#include <vector>

#include "core/component.h"
#include "core/os_state.h"
#include "core/trace.h"

namespace winsim {
namespace detail {

namespace {
std::vector<std::function<void()>> &Resets() {
  static std::vector<std::function<void()>> resets;
  return resets;
}
}  // namespace

void RegisterReset(std::function<void()> reset) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Resets().push_back(std::move(reset));
}

std::recursive_mutex &MachineLock() {
  static std::recursive_mutex lock;
  return lock;
}

OsState &Os() { return Component<OsState>(); }

}  // namespace detail

void Reset() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  for (auto &reset : detail::Resets()) reset();
  SetLastError(0);
}

int RunProgram(const std::function<int()> &entry) {
  try {
    return entry();
  } catch (const ProcessExit &exit) {
    return static_cast<int>(exit.code);
  }
}

void SetCommandLine(const std::string &commandLine) { detail::Os().commandLine = commandLine; }
void SetProgramPath(const std::string &path) { detail::Os().programPath = path; }
void SetLocalTime(const SYSTEMTIME &time) { detail::Os().localTime = time; }

}  // namespace winsim

void WINAPI ExitProcess(UINT exitCode) {
  winsim::detail::Record("ExitProcess", std::to_string(exitCode));
  throw winsim::ProcessExit{exitCode};
}

LPSTR WINAPI GetCommandLineA() { return winsim::detail::Os().commandLine.data(); }

void WINAPI GetLocalTime(LPSYSTEMTIME time) { *time = winsim::detail::Os().localTime; }

DWORD WINAPI GetCurrentProcessId() { return winsim::detail::Os().programProcessId; }
