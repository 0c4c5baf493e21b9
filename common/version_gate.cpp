#include "common/version_gate.h"

#include <windows.h>

#include "common/command_line.h"

namespace {

bool IsLegacyVersion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = 148;
  GetVersionExA(&info);
  if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return info.dwMajorVersion == 4;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return info.dwMajorVersion <= 4;
  return false;
}

bool FirstArgumentIsNoVersion() {
  auto arguments = CommandArguments(GetCommandLineA());
  if (arguments.empty()) return false;
  std::string first = arguments.front();
  CharUpperBuffA(first.data(), static_cast<DWORD>(first.size()));
  return first == "/NOVERSION";
}

}  // namespace

namespace deskplan {
bool IsLegacyWindows() { return FirstArgumentIsNoVersion() || IsLegacyVersion(); }
}  // namespace deskplan

namespace cleanslate {
bool IsLegacyWindows() { return IsLegacyVersion(); }
}  // namespace cleanslate
