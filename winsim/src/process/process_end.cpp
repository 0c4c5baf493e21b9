// TerminateProcess and GetExitCodeProcess over the simulated processes, and
// the session each process runs in (ProcessIdToSessionId).
#include <mutex>

#include "core/component.h"
#include "core/os_state.h"
#include "core/trace.h"
#include "optional_api_reset.h"
#include "process/process_end_state.h"
#include "process/process_state.h"
#include "winsim/process_end.h"

using namespace winsim::detail;

namespace winsim::detail {

ProcessEndState &ProcessEnds() { return Component<ProcessEndState>(); }

bool ProcessEnded(DWORD processId) { return ProcessEnds().exitCodes.count(processId) != 0; }

DWORD SessionOf(DWORD processId) {
  auto &state = ProcessEnds();
  auto found = state.sessions.find(processId);
  return found == state.sessions.end() ? state.programSession : found->second;
}

}  // namespace winsim::detail

namespace {

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

}  // namespace

BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto object = HandleObject<ProcessObject>(process);
  Record("TerminateProcess", (object ? std::to_string(object->processId) : std::string("?")) + "|" +
                                 std::to_string(exitCode));
  if (unsigned fault = InjectedFault("TerminateProcess")) return Fail(fault);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if ((object->access & PROCESS_TERMINATE) == 0) return Fail(ERROR_ACCESS_DENIED);
  // The program itself would end here; the tests never ask for that.
  if (!FindProcess(object->processId)) return Fail(ERROR_ACCESS_DENIED);
  // A process that has already ended keeps its first exit code.
  if (ProcessEnded(object->processId)) return Fail(ERROR_ACCESS_DENIED);
  ProcessEnds().exitCodes[object->processId] = exitCode;
  return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto object = HandleObject<ProcessObject>(process);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!exitCode) return Fail(ERROR_NOACCESS);
  auto &codes = ProcessEnds().exitCodes;
  auto found = codes.find(object->processId);
  *exitCode = found == codes.end() ? STILL_ACTIVE : found->second;
  return TRUE;
}

BOOL WINAPI ProcessIdToSessionId(DWORD processId, DWORD *sessionId) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("ProcessIdToSessionId", std::to_string(processId));
  if (unsigned fault = InjectedFault("ProcessIdToSessionId")) return Fail(fault);
  if (!sessionId) return Fail(ERROR_NOACCESS);
  if (!FindProcess(processId) && processId != Os().programProcessId) return Fail(ERROR_INVALID_PARAMETER);
  *sessionId = SessionOf(processId);
  return TRUE;
}

namespace winsim {

std::optional<DWORD> ProcessExitCode(DWORD processId) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &codes = ProcessEnds().exitCodes;
  auto found = codes.find(processId);
  if (found == codes.end()) return std::nullopt;
  return found->second;
}

void SetProcessSession(DWORD processId, DWORD sessionId) { ProcessEnds().sessions[processId] = sessionId; }

void SetProgramSession(DWORD sessionId) { ProcessEnds().programSession = sessionId; }

}  // namespace winsim
