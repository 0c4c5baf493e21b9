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

const DWORD kFirstBuildWithIconRecord = 17763;  // Windows 10 version 1809

bool IsIconRecordVersion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
  if (info.dwMajorVersion != 10) return info.dwMajorVersion > 10;
  return info.dwMinorVersion > 0 || info.dwBuildNumber >= kFirstBuildWithIconRecord;
}

}  // namespace

namespace deskplan {
bool IsLegacyWindows() { return FirstArgumentIsNoVersion() || IsLegacyVersion(); }
bool ShellKeepsIconPositions() { return !FirstArgumentIsNoVersion() && IsIconRecordVersion(); }
}  // namespace deskplan

namespace cleanslate {
bool IsLegacyWindows() { return IsLegacyVersion(); }
}  // namespace cleanslate
