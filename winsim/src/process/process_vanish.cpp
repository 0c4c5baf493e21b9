// A process of the simulation ending while the program works with it: its
// memory and its windows go, and it can no longer be opened.
#include <vector>

#include "core/component.h"
#include "process/process_state.h"
#include "windows/window_state.h"

namespace winsim {

using namespace detail;

void EndProcess(DWORD processId) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  SimProcess *process = FindProcess(processId);
  if (!process) return;
  // Handles opened before stay valid, but nothing lies at any address now:
  // memory copies fail with ERROR_PARTIAL_COPY.
  process->regions.clear();
  process->givenOut.clear();
  // The id no longer names a running process.
  process->refusal = ERROR_INVALID_PARAMETER;
  std::vector<HWND> owned;
  for (HWND window : Windows().topLevel) {
    Window *record = FindWindowRecord(window);
    if (record && !record->own && record->processId == processId) owned.push_back(window);
  }
  for (HWND window : owned) UnlinkWindowTree(window);
}

}  // namespace winsim
