// Test-facing control of process ends and sessions: which processes were
// terminated and with what exit code, and which session each one runs in.
#pragma once

#include <optional>

#include <windows.h>

namespace winsim {

// The code the process ended with; nothing while it runs.
std::optional<DWORD> ProcessExitCode(DWORD processId);
// The session of one process (by default the program's own session).
void SetProcessSession(DWORD processId, DWORD sessionId);
// The program's own session (1 unless set).
void SetProgramSession(DWORD sessionId);

}  // namespace winsim
