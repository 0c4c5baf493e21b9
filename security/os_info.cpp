#include "security/os_info.h"

#include <windows.h>

#include "common/proc_lookup.h"

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the 9x family checks the size field");
static_assert(sizeof(OSVERSIONINFOW) == 276, "NT checks the size field");
static_assert(sizeof(OSVERSIONINFOEXW) == 284, "NT checks the size field");

OsVersion NineXVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  if (major < 4) return osNone;
  if (major > 4) return osWin9xNew;
  if (minor < 10) return build > 1000 ? osWin95Osr2 : osWin95;
  if (minor == 10) return build > 2700 ? osWinMe : build > 2000 ? osWin98Se : osWin98;
  return minor <= 90 ? osWinMe : osWin9xNew;
}

OsVersion NtVersion(std::uint32_t major, std::uint32_t minor, BYTE productType) {
  if (major < 4) return osWinNt3;
  if (major == 4) return osWinNt4;
  if (major == 5) {
    if (minor == 0) return osWin2000;
    if (minor == 1) return osWinXp;
    return productType == VER_NT_WORKSTATION ? osWinXp : osWin2003;
  }
  if (major == 6 && minor == 0) return osWinVista;
  return osWinNtNew;
}

// "Service Pack 3" and its translations: the number follows a 13-character prefix.
std::uint32_t ServicePackFromText(const std::string &text) {
  std::uint32_t number = 0;
  if (text.size() < 14) return 0;
  for (size_t i = 13; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    number = number * 10 + static_cast<std::uint32_t>(text[i] - '0');
  return number;
}

bool RunsOnAmd64() {
  using GetNativeSystemInfoFn = decltype(&::GetNativeSystemInfo);
  auto getNativeSystemInfo =
      LookupProc<GetNativeSystemInfoFn>(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo");
  if (!getNativeSystemInfo) return false;
  SYSTEM_INFO info = {};
  getNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

void IdentifyNineX(TOS &os) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  os.major = info.dwMajorVersion;
  os.minor = info.dwMinorVersion;
  os.build = info.dwBuildNumber & 0xFFFF;
  for (size_t i = 0; i < sizeof info.szCSDVersion && info.szCSDVersion[i]; ++i) os.servicePack += info.szCSDVersion[i];
  os.win9x = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  os.winNT = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  os.version = NineXVersion(os.major, os.minor, os.build);
  os.win9xVersion = os.version;
}

void IdentifyNt(TOS &os) {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  bool extended = GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info)) != FALSE;
  if (!extended) {
    info = OSVERSIONINFOEXW();
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info));
  }
  os.major = info.dwMajorVersion;
  os.minor = info.dwMinorVersion;
  os.build = info.dwBuildNumber;
  for (size_t i = 0; i < 128 && info.szCSDVersion[i]; ++i)
    os.servicePack += static_cast<char>(info.szCSDVersion[i] & 0xFF);
  os.win9x = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  os.winNT = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  os.version = NtVersion(os.major, os.minor, extended ? info.wProductType : 0);
  os.winNTVersion = os.version;
  os.servicePackNo = extended ? info.wServicePackMajor : ServicePackFromText(os.servicePack);
  os.x64 = RunsOnAmd64();
}

std::string Describe(const TOS &os) {
  std::string description = OsVersionText(os.version);
  if (!os.winNT) return description;
  if (GetSystemMetrics(SM_SERVERR2)) description += " R2";
  if (GetSystemMetrics(SM_TABLETPC)) description += " Tablet PC";
  if (GetSystemMetrics(SM_STARTER)) description += " Starter";
  if (os.version < osWinVista && GetSystemMetrics(SM_MEDIACENTER)) description += " Media Center";
  if (os.x64) description += " x64";
  if (!os.servicePack.empty()) description += " " + os.servicePack;
  return description;
}

}  // namespace

const char *OsVersionText(OsVersion version) {
  static const char *const texts[] = {"None",         "Windows 95",     "Windows 95 OSR-2", "Windows 98",
                                      "Windows 98 SE", "Windows ME",    "Windows 9x New",   "Windows NT 3",
                                      "Windows NT 4", "Windows 2000",   "Windows XP",       "Windows 2003",
                                      "Windows Vista", "Windows NT New"};
  return version <= osWinNtNew ? texts[version] : texts[osNone];
}

TOS IdentifyOs() {
  TOS os;
  if (GetVersion() & 0x80000000u)
    IdentifyNineX(os);
  else
    IdentifyNt(os);
  os.description = Describe(os);
  return os;
}

TOS OsInfo() {
  static TOS known;
  if (known.description.empty()) known = IdentifyOs();
  return known;
}
