#include "process/process_state.h"

#include <sys/mman.h>

#include <new>

#include "core/component.h"
#include "core/os_state.h"

namespace winsim::detail {

SectionMemory::SectionMemory(std::size_t wanted) : size(wanted) {
  // The Windows 9x family maps shared memory where every 32-bit process can
  // reach it, so sections live below 4 GiB here too.
  const std::size_t page = 4096;
  reserved = (wanted + page - 1) / page * page;
  if (reserved == 0) reserved = page;
  void *memory = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  bytes = static_cast<unsigned char *>(memory);
}

SectionMemory::~SectionMemory() { munmap(bytes, reserved); }

ProcessState &Processes() { return Component<ProcessState>(); }

SimProcess *FindProcess(DWORD processId) {
  auto &processes = Processes().processes;
  auto found = processes.find(processId);
  return found == processes.end() ? nullptr : &found->second;
}

std::size_t PointerSizeOf(ProcessKind kind) { return kind == ProcessKind::Native64 ? 8 : 4; }

unsigned char *ProcessMemoryAt(DWORD processId, std::uint64_t address, std::size_t size) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  SimProcess *process = FindProcess(processId);
  if (!process || address == 0) return nullptr;
  auto region = process->regions.upper_bound(address);
  if (region != process->regions.begin()) {
    --region;
    std::uint64_t offset = address - region->first;
    if (offset <= region->second.size() && size <= region->second.size() - offset)
      return region->second.data() + offset;
  }
  if (Os().version.platformId == VER_PLATFORM_WIN32_WINDOWS) {
    for (auto &view : Processes().views) {
      auto start = reinterpret_cast<std::uintptr_t>(view.address);
      if (address >= start && address - start <= view.memory->size && size <= view.memory->size - (address - start))
        return reinterpret_cast<unsigned char *>(static_cast<std::uintptr_t>(address));
    }
  }
  return nullptr;
}

unsigned char *AccessProcessMemory(DWORD processId, std::uint64_t address, std::size_t size, bool write) {
  unsigned char *memory = ProcessMemoryAt(processId, address, size);
  if (!memory) {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    Processes().strays.push_back(StrayAccess{processId, address, size, write});
  }
  return memory;
}

}  // namespace winsim::detail
