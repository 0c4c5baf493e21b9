// Toolhelp process snapshots: the processes running when the snapshot was
// taken (the system's two, the program, the simulated others), in process id
// order, read one entry at a time.
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "core/component.h"
#include "core/handles.h"
#include "core/os_state.h"
#include "core/trace.h"
#include "optional_api_reset.h"
#include "process/process_end_state.h"
#include "process/process_state.h"

using namespace winsim::detail;

namespace {

struct SnapshotEntry {
  DWORD processId;
  std::string exeFile;
};

struct Snapshot : KernelObject {
  std::vector<SnapshotEntry> entries;
  std::size_t next = 0;
};

std::string FileNameOf(const std::string &path) {
  auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<SnapshotEntry> RunningProcesses() {
  std::vector<SnapshotEntry> entries = {{0, "[System Process]"}, {4, "System"}};
  entries.push_back({Os().programProcessId, FileNameOf(Os().programPath)});
  for (auto &entry : Processes().processes)
    if (!ProcessEnded(entry.first)) entries.push_back({entry.first, entry.second.imageName});
  return entries;
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

BOOL ReadEntry(HANDLE handle, LPPROCESSENTRY32 entry, bool first) {
  auto snapshot = HandleObject<Snapshot>(handle);
  if (!snapshot) return Fail(ERROR_INVALID_HANDLE);
  if (!entry) return Fail(ERROR_NOACCESS);
  // The size field must announce at least the structure of the caller's own
  // build: 296 bytes for 32-bit programs, 304 for 64-bit ones.
  if (entry->dwSize < sizeof(PROCESSENTRY32)) return Fail(ERROR_BAD_LENGTH);
  if (first) snapshot->next = 0;
  if (snapshot->next >= snapshot->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  const SnapshotEntry &found = snapshot->entries[snapshot->next++];
  DWORD size = entry->dwSize;
  std::memset(entry, 0, sizeof(PROCESSENTRY32));
  entry->dwSize = size;
  entry->cntUsage = 0;
  entry->th32ProcessID = found.processId;
  entry->cntThreads = 1;
  std::strncpy(entry->szExeFile, found.exeFile.c_str(), MAX_PATH - 1);
  return TRUE;
}

}  // namespace

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("CreateToolhelp32Snapshot", std::to_string(flags) + "|" + std::to_string(processId));
  if (unsigned fault = InjectedFault("CreateToolhelp32Snapshot")) {
    SetLastError(fault);
    return INVALID_HANDLE_VALUE;
  }
  auto snapshot = std::make_shared<Snapshot>();
  if (flags & TH32CS_SNAPPROCESS) snapshot->entries = RunningProcesses();
  return NewHandle(snapshot);
}

BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("Process32First");
  if (unsigned fault = InjectedFault("Process32First")) return Fail(fault);
  return ReadEntry(snapshot, entry, true);
}

BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("Process32Next");
  if (unsigned fault = InjectedFault("Process32Next")) return Fail(fault);
  return ReadEntry(snapshot, entry, false);
}
