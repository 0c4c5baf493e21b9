// The control side of the simulated processes: tests arrange them and look at
// what the program left behind.
#include <cstring>

#include "core/component.h"
#include "process/process_state.h"
#include "process/regions.h"

namespace winsim {

using namespace detail;

DWORD AddProcess(const std::string &imageName, ProcessKind kind) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &state = Processes();
  SimProcess process;
  process.id = state.nextProcessId;
  state.nextProcessId += 4;
  process.imageName = imageName;
  process.kind = kind;
  process.nextAddress = FirstAddressOf(kind);
  state.processes[process.id] = process;
  return process.id;
}

ProcessKind KindOfProcess(DWORD processId) {
  SimProcess *process = FindProcess(processId);
  return process ? process->kind : Processes().programKind;
}

void SetProgramProcessKind(ProcessKind kind) { Processes().programKind = kind; }

void RefuseOpenProcess(DWORD processId, DWORD error) {
  if (SimProcess *process = FindProcess(processId)) process->refusal = error;
}

std::uint64_t AllocateInProcess(DWORD processId, std::size_t size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  SimProcess *process = FindProcess(processId);
  return process ? AllocateRegion(*process, size) : 0;
}

bool ReadProcessBytes(DWORD processId, std::uint64_t address, void *out, std::size_t size) {
  const unsigned char *memory = ProcessMemoryAt(processId, address, size);
  if (!memory) return false;
  std::memcpy(out, memory, size);
  return true;
}

bool WriteProcessBytes(DWORD processId, std::uint64_t address, const void *data, std::size_t size) {
  unsigned char *memory = ProcessMemoryAt(processId, address, size);
  if (!memory) return false;
  std::memcpy(memory, data, size);
  return true;
}

std::vector<StrayAccess> StrayAccesses() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return Processes().strays;
}

int LiveRemoteAllocations() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  int total = 0;
  for (auto &entry : Processes().processes) total += CountGivenOut(entry.second);
  return total;
}

int LiveVirtualAllocations() { return static_cast<int>(Processes().virtualBlocks.size()); }

int LiveMappedViews() { return static_cast<int>(Processes().views.size()); }

unsigned char *NamedSharedArea(const std::string &name, std::size_t *size) {
  auto found = Processes().namedSections.find(name);
  if (found == Processes().namedSections.end()) return nullptr;
  auto memory = found->second.lock();
  if (!memory) return nullptr;
  if (size) *size = memory->size;
  return memory->bytes;
}

}  // namespace winsim
