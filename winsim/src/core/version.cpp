#include <cstring>

#include "core/os_state.h"
#include "core/trace.h"

namespace winsim {

namespace {
OsVersion Make(DWORD platform, DWORD major, DWORD minor, DWORD build, const char *csd, WORD spMajor,
               bool extended) {
  OsVersion v;
  v.platformId = platform;
  v.major = major;
  v.minor = minor;
  v.build = build;
  v.csdVersion = csd;
  v.servicePackMajor = spMajor;
  v.servicePackMinor = 0;
  v.productType = VER_NT_WORKSTATION;
  v.acceptsExtendedInfo = extended;
  return v;
}
}  // namespace

// On the 9x family the high word of dwBuildNumber repeats major and minor.
OsVersion Windows95() { return Make(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x040003B6, "", 0, false); }
OsVersion Windows98() { return Make(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A07CE, " ", 0, false); }
OsVersion Windows98SE() { return Make(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A08AE, " A ", 0, false); }
OsVersion WindowsMe() { return Make(VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0x045A0BB8, " ", 0, false); }
OsVersion WindowsNT351() { return Make(VER_PLATFORM_WIN32_NT, 3, 51, 1057, "Service Pack 5", 5, false); }
OsVersion WindowsNT4() { return Make(VER_PLATFORM_WIN32_NT, 4, 0, 1381, "Service Pack 6", 6, true); }
OsVersion Windows2000() { return Make(VER_PLATFORM_WIN32_NT, 5, 0, 2195, "Service Pack 4", 4, true); }
OsVersion WindowsXP() { return Make(VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 3", 3, true); }
OsVersion WindowsVista() { return Make(VER_PLATFORM_WIN32_NT, 6, 0, 6002, "Service Pack 2", 2, true); }
OsVersion Windows7() { return Make(VER_PLATFORM_WIN32_NT, 6, 1, 7601, "Service Pack 1", 1, true); }
OsVersion Windows10() { return Make(VER_PLATFORM_WIN32_NT, 10, 0, 19045, "", 0, true); }

void SetOsVersion(const OsVersion &version) { detail::Os().version = version; }

void SetScreen(int width, int height) {
  auto &os = detail::Os();
  os.metrics[SM_CXSCREEN] = width;
  os.metrics[SM_CYSCREEN] = height;
  if (!os.virtualScreenApart) {
    os.metrics[SM_CXVIRTUALSCREEN] = width;
    os.metrics[SM_CYVIRTUALSCREEN] = height;
  }
}

void SetVirtualScreen(int width, int height) {
  auto &os = detail::Os();
  os.virtualScreenApart = true;
  os.metrics[SM_CXVIRTUALSCREEN] = width;
  os.metrics[SM_CYVIRTUALSCREEN] = height;
}

void SetSystemMetric(int index, int value) { detail::Os().metrics[index] = value; }

}  // namespace winsim

namespace {
template <class Info, class CopyCsd>
BOOL FillVersion(Info *info, DWORD plainSize, DWORD extendedSize, CopyCsd copyCsd) {
  const auto &v = winsim::detail::Os().version;
  DWORD size = info->dwOSVersionInfoSize;
  bool extended = size == extendedSize && v.acceptsExtendedInfo;
  if (size != plainSize && !extended) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = v.major;
  info->dwMinorVersion = v.minor;
  info->dwBuildNumber = v.build;
  info->dwPlatformId = v.platformId;
  copyCsd(info->szCSDVersion, v.csdVersion);
  if (extended) {
    auto *ex = reinterpret_cast<unsigned char *>(info) + plainSize;
    WORD words[3] = {v.servicePackMajor, v.servicePackMinor, 0};
    std::memcpy(ex, words, sizeof words);
    ex[6] = v.productType;
    ex[7] = 0;
  }
  return TRUE;
}
}  // namespace

DWORD WINAPI GetVersion() {
  const auto &v = winsim::detail::Os().version;
  DWORD low = (v.major & 0xFF) | ((v.minor & 0xFF) << 8);
  if (v.platformId == VER_PLATFORM_WIN32_NT) return low | ((v.build & 0x7FFF) << 16);
  // The 9x family sets the high bit and keeps no build number there.
  return low | 0x80000000u;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  winsim::detail::Record("GetVersionExA", std::to_string(info->dwOSVersionInfoSize));
  return FillVersion(info, sizeof(OSVERSIONINFOA), sizeof(OSVERSIONINFOEXA), [](CHAR *target, const std::string &csd) {
    std::memset(target, 0, 128);
    std::memcpy(target, csd.data(), csd.size() < 127 ? csd.size() : 127);
  });
}

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
  winsim::detail::Record("GetVersionExW", std::to_string(info->dwOSVersionInfoSize));
  if (winsim::detail::Os().version.platformId == VER_PLATFORM_WIN32_WINDOWS) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  return FillVersion(info, sizeof(OSVERSIONINFOW), sizeof(OSVERSIONINFOEXW), [](WCHAR *target, const std::string &csd) {
    std::memset(target, 0, 128 * sizeof(WCHAR));
    for (size_t i = 0; i < csd.size() && i < 127; ++i) target[i] = static_cast<unsigned char>(csd[i]);
  });
}

int WINAPI GetSystemMetrics(int index) {
  const auto &metrics = winsim::detail::Os().metrics;
  auto found = metrics.find(index);
  return found == metrics.end() ? 0 : found->second;
}
