#include "cleanslate/shell_termination.h"

#include <windows.h>
#include <tlhelp32.h>

#include "common/proc_lookup.h"
#include "common/unique_any.h"

namespace {

using CreateToolhelp32SnapshotFn = decltype(&::CreateToolhelp32Snapshot);
using Process32Fn = decltype(&::Process32First);
using ProcessIdToSessionIdFn = decltype(&::ProcessIdToSessionId);

const UINT kShellExitCode = 4;

struct ProcessFunctions {
  bool looked = false;
  CreateToolhelp32SnapshotFn createSnapshot = nullptr;
  Process32Fn first = nullptr;
  Process32Fn next = nullptr;
  ProcessIdToSessionIdFn sessionOf = nullptr;
};

ProcessFunctions functions;

// Looked up in kernel32 at the first use; a system without them has no
// snapshot, and one without sessions is not filtered.
const ProcessFunctions &Functions() {
  if (!functions.looked) {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    functions.createSnapshot = LookupProc<CreateToolhelp32SnapshotFn>(kernel32, "CreateToolhelp32Snapshot");
    functions.first = LookupProc<Process32Fn>(kernel32, "Process32First");
    functions.next = LookupProc<Process32Fn>(kernel32, "Process32Next");
    functions.sessionOf = LookupProc<ProcessIdToSessionIdFn>(kernel32, "ProcessIdToSessionId");
    functions.looked = true;
  }
  return functions;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameExeName(const char *a, const std::string &b) {
  std::size_t i = 0;
  for (; a[i] && i < b.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return a[i] == '\0' && i == b.size();
}

enum class Session { Own, Other, Unknown };

// Only the caller's own session's shell is ended: an administrator's reset
// must not end the desktops of the other users signed in. A shell whose
// session cannot be told is left running and counts as not ended, so the
// user is told to restart the session rather than logged off with it.
Session SessionOf(const ProcessFunctions &f, DWORD processId, DWORD ownSession, bool haveOwnSession) {
  if (!f.sessionOf || !haveOwnSession) return Session::Own;
  DWORD session = 0;
  if (!f.sessionOf(processId, &session)) return Session::Unknown;
  return session == ownSession ? Session::Own : Session::Other;
}

bool EndProcess(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && TerminateProcess(process.Get(), kShellExitCode);
}

}  // namespace

void ForgetProcessFunctions() { functions = ProcessFunctions(); }

bool TerminateProcessByName(const std::string &exeName) {
  const ProcessFunctions &f = Functions();
  if (!f.createSnapshot || !f.first || !f.next) return false;
  DWORD ownSession = 0;
  bool haveOwnSession = f.sessionOf && f.sessionOf(GetCurrentProcessId(), &ownSession);
  UniqueHandle snapshot(f.createSnapshot(TH32CS_SNAPALL, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int matched = 0;
  int ended = 0;
  for (BOOL more = f.first(snapshot.Get(), &entry); more; more = f.next(snapshot.Get(), &entry)) {
    entry.szExeFile[MAX_PATH - 1] = '\0';
    if (!SameExeName(entry.szExeFile, exeName)) continue;
    const Session session = SessionOf(f, entry.th32ProcessID, ownSession, haveOwnSession);
    if (session == Session::Other) continue;
    ++matched;
    if (session == Session::Own && EndProcess(entry.th32ProcessID)) ++ended;
  }
  return matched > 0 && ended == matched;
}

void EndSession() { ExitWindowsEx(EWX_LOGOFF, 0); }
