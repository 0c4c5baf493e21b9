// Which simulated processes have ended and with what code, and the session
// each process runs in.
#pragma once

#include <map>

#include <windows.h>

namespace winsim::detail {

struct ProcessEndState {
  std::map<DWORD, DWORD> exitCodes;  // ended processes
  std::map<DWORD, DWORD> sessions;   // processes not listed run in the program's session
  DWORD programSession = 1;
};

ProcessEndState &ProcessEnds();
bool ProcessEnded(DWORD processId);
DWORD SessionOf(DWORD processId);

}  // namespace winsim::detail
