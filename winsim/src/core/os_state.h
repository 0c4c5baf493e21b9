// The operating system the program under test sees.
#pragma once

#include <map>
#include <set>
#include <string>

#include "winsim/machine.h"

namespace winsim::detail {

struct OsState {
  OsVersion version = Windows7();
  std::string commandLine = "\"C:\\Program Files\\Deskplan\\Deskplan.exe\"";
  std::string programPath = "C:\\Program Files\\Deskplan\\Deskplan.exe";
  std::map<int, int> metrics = {{SM_CXSCREEN, 1024},       {SM_CYSCREEN, 768},       {SM_CXVIRTUALSCREEN, 1024},
                                {SM_CYVIRTUALSCREEN, 768}, {SM_CMONITORS, 1},        {SM_CXICON, 32},
                                {SM_CYICON, 32},           {SM_CXSMICON, 16},        {SM_CYSMICON, 16}};
  bool virtualScreenApart = false;
  SYSTEMTIME localTime = {2026, 12, 1, 7, 10, 0, 0, 0};
  // The process the program under test runs as.
  DWORD programProcessId = 1000;
};

OsState &Os();

}  // namespace winsim::detail
