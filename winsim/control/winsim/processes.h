// Test-facing control of the processes the program sees besides itself (the
// shell, above all), their memory, and the program's own memory and mappings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace winsim {

// How a process runs: a 32-bit process on 32-bit Windows, a 32-bit process on
// 64-bit Windows (WOW64), or a 64-bit process. It fixes the pointer width of
// the structures the process reads and where its memory lies.
enum class ProcessKind { Native32, Wow64, Native64 };

// Adds a process and answers its id. Memory given out in it by VirtualAllocEx
// lies below 4 GiB for 32-bit kinds and above 4 GiB for Native64.
DWORD AddProcess(const std::string &imageName, ProcessKind kind);
ProcessKind KindOfProcess(DWORD processId);
// The program under test (GetCurrentProcess); Native64 unless set.
void SetProgramProcessKind(ProcessKind kind);
// OpenProcess on this process fails with `error` (as for a protected process).
void RefuseOpenProcess(DWORD processId, DWORD error = ERROR_ACCESS_DENIED);

// The process ends: its memory and its top-level windows (with their
// descendants) go, handles already opened to it stay valid but every memory
// copy through them fails, and OpenProcess of its id fails with 87. Safe to
// call from a list view's observer, in the middle of a message.
void EndProcess(DWORD processId);

// The process's own view of its memory: what it allocates for itself, and
// reads or writes at its own addresses. Failing reads and writes answer false.
std::uint64_t AllocateInProcess(DWORD processId, std::size_t size);
bool ReadProcessBytes(DWORD processId, std::uint64_t address, void *out, std::size_t size);
bool WriteProcessBytes(DWORD processId, std::uint64_t address, const void *data, std::size_t size);

// An access a process made at an address that holds nothing of its own: on
// Windows a crash or a write into unrelated memory of that process.
struct StrayAccess {
  DWORD processId;
  std::uint64_t address;
  std::size_t size;
  bool write;
};
std::vector<StrayAccess> StrayAccesses();

// Leak counters: blocks given out by VirtualAllocEx in other processes, by
// VirtualAlloc to the program, and views the program has mapped, not yet freed.
int LiveRemoteAllocations();
int LiveVirtualAllocations();
int LiveMappedViews();

// The bytes of a named shared memory area, as any other process that opens it
// sees them (null when no such area exists).
unsigned char *NamedSharedArea(const std::string &name, std::size_t *size = nullptr);

}  // namespace winsim
