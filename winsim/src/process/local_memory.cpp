// VirtualAlloc and VirtualFree in the program itself: real, zero-filled memory,
// tracked so that tests see blocks the program forgot to free.
#include <cstdlib>
#include <cstring>

#include "core/component.h"
#include "core/trace.h"
#include "process/process_state.h"

using namespace winsim::detail;

LPVOID WINAPI VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
  Record("VirtualAlloc", std::to_string(size));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("VirtualAlloc")) {
    SetLastError(fault);
    return nullptr;
  }
  if (address || size == 0 || (allocationType & (MEM_COMMIT | MEM_RESERVE)) == 0 || protect == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::size_t page = 4096;
  std::size_t rounded = (size + page - 1) / page * page;
  void *memory = std::aligned_alloc(page, rounded);
  if (!memory) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::memset(memory, 0, rounded);
  Processes().virtualBlocks[memory] = rounded;
  return memory;
}

BOOL WINAPI VirtualFree(LPVOID address, SIZE_T size, DWORD freeType) {
  Record("VirtualFree");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &blocks = Processes().virtualBlocks;
  auto found = blocks.find(address);
  if (freeType != MEM_RELEASE || size != 0 || found == blocks.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  blocks.erase(found);
  std::free(address);
  return TRUE;
}
