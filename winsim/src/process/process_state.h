// The simulated processes other than the program: their kind and their own
// address spaces, and the program's own blocks and mapped views.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/handles.h"
#include "winsim/processes.h"

namespace winsim::detail {

struct SimProcess {
  DWORD id = 0;
  std::string imageName;
  ProcessKind kind = ProcessKind::Native64;
  DWORD refusal = 0;  // OpenProcess fails with this code when nonzero
  std::map<std::uint64_t, std::vector<unsigned char>> regions;  // base -> bytes
  std::uint64_t nextAddress = 0;
  std::set<std::uint64_t> givenOut;  // regions VirtualAllocEx gave to another process
};

// Memory of a named (or unnamed) section, shared by its handles and views.
struct SectionMemory {
  explicit SectionMemory(std::size_t size);
  ~SectionMemory();
  SectionMemory(const SectionMemory &) = delete;
  SectionMemory &operator=(const SectionMemory &) = delete;
  unsigned char *bytes = nullptr;
  std::size_t size = 0;
  std::size_t reserved = 0;
};

struct MappedView {
  unsigned char *address;
  std::shared_ptr<SectionMemory> memory;
};

struct ProcessState {
  std::map<DWORD, SimProcess> processes;
  DWORD nextProcessId = 2000;
  ProcessKind programKind = ProcessKind::Native64;
  std::vector<StrayAccess> strays;
  std::map<void *, std::size_t> virtualBlocks;  // the program's VirtualAlloc blocks
  std::map<std::string, std::weak_ptr<SectionMemory>> namedSections;
  std::vector<MappedView> views;
};

ProcessState &Processes();
SimProcess *FindProcess(DWORD processId);

// A handle from OpenProcess: the process and the access it was granted.
struct ProcessObject : KernelObject {
  DWORD processId = 0;
  DWORD access = 0;
};

// Where `size` bytes at `address` lie in the process's memory, or null. On the
// Windows 9x family the program's mapped views are seen by every process at the
// same address, so they count as the process's memory there.
unsigned char *ProcessMemoryAt(DWORD processId, std::uint64_t address, std::size_t size);
// As above, recording a stray access when nothing is there.
unsigned char *AccessProcessMemory(DWORD processId, std::uint64_t address, std::size_t size, bool write);

// Pointer width of structures the process reads (4 or 8 bytes).
std::size_t PointerSizeOf(ProcessKind kind);

}  // namespace winsim::detail
