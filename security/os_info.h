// Which Windows the program runs on, computed once per process: the family
// decides which road the security layer takes, the description names it.
#pragma once

#include <cstdint>
#include <string>

enum OsVersion : std::uint8_t {
  osNone = 0,
  osWin95 = 1,
  osWin95Osr2 = 2,
  osWin98 = 3,
  osWin98Se = 4,
  osWinMe = 5,
  osWin9xNew = 6,
  osWinNt3 = 7,
  osWinNt4 = 8,
  osWin2000 = 9,
  osWinXp = 10,
  osWin2003 = 11,
  osWinVista = 12,
  osWinNtNew = 13,
};

const char *OsVersionText(OsVersion version);

struct TOS {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::string servicePack;
  bool win9x = false;
  OsVersion win9xVersion = osNone;
  bool winNT = false;
  OsVersion winNTVersion = osNone;
  OsVersion version = osNone;
  bool x64 = false;
  std::uint32_t servicePackNo = 0;
  std::string description;
};

// The process-wide answer, computed on first use.
TOS OsInfo();
// Asks the system afresh.
TOS IdentifyOs();
