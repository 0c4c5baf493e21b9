// kernel32's process functions over the simulated processes: opening them,
// their bitness, and memory given out in them and copied to and from them.
#include <cstdio>
#include <cstring>

#include "core/component.h"
#include "core/os_state.h"
#include "core/trace.h"
#include "optional_api.h"
#include "process/process_state.h"
#include "process/regions.h"

using namespace winsim;
using namespace winsim::detail;

namespace {

const DWORD kErrorInvalidAddress = 487;
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

// The simulated process behind a handle with the access the call needs, or
// null with the last error set.
SimProcess *TargetOf(HANDLE handle, DWORD neededAccess) {
  auto object = HandleObject<ProcessObject>(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if ((object->access & neededAccess) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  SimProcess *process = FindProcess(object->processId);
  // The program's own memory is real memory and is never copied this way.
  if (!process) SetLastError(ERROR_NOT_SUPPORTED);
  return process;
}

}  // namespace

HANDLE WINAPI GetCurrentProcess() { return kCurrentProcess; }

HANDLE WINAPI OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) {
  (void)inheritHandle;
  Record("OpenProcess", std::to_string(processId) + "|" + Hex(desiredAccess));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("OpenProcess")) {
    SetLastError(fault);
    return nullptr;
  }
  SimProcess *process = FindProcess(processId);
  if (!process && processId != Os().programProcessId) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (process && process->refusal) {
    SetLastError(process->refusal);
    return nullptr;
  }
  auto object = std::make_shared<ProcessObject>();
  object->processId = processId;
  object->access = desiredAccess;
  return NewHandle(object);
}

BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64) {
  Record("IsWow64Process");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("IsWow64Process")) return Fail(fault);
  ProcessKind kind = Processes().programKind;
  if (process != kCurrentProcess) {
    auto object = HandleObject<ProcessObject>(process);
    if (!object) return Fail(ERROR_INVALID_HANDLE);
    if ((object->access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION)) == 0)
      return Fail(ERROR_ACCESS_DENIED);
    kind = KindOfProcess(object->processId);
  }
  *wow64 = kind == ProcessKind::Wow64 ? TRUE : FALSE;
  return TRUE;
}

LPVOID WINAPI VirtualAllocEx(HANDLE process, LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
  Record("VirtualAllocEx", Hex(size));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("VirtualAllocEx")) {
    SetLastError(fault);
    return nullptr;
  }
  SimProcess *target = TargetOf(process, PROCESS_VM_OPERATION);
  if (!target) return nullptr;
  if (address) {
    SetLastError(kErrorInvalidAddress);
    return nullptr;
  }
  if (size == 0 || (allocationType & (MEM_COMMIT | MEM_RESERVE)) == 0 || protect == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::uint64_t base = AllocateRegion(*target, size);
  target->givenOut.insert(base);
  return reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(base));
}

BOOL WINAPI VirtualFreeEx(HANDLE process, LPVOID address, SIZE_T size, DWORD freeType) {
  Record("VirtualFreeEx", Hex(reinterpret_cast<std::uintptr_t>(address)));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("VirtualFreeEx")) return Fail(fault);
  SimProcess *target = TargetOf(process, PROCESS_VM_OPERATION);
  if (!target) return FALSE;
  if (freeType != MEM_RELEASE || size != 0) return Fail(ERROR_INVALID_PARAMETER);
  if (!FreeRegion(*target, reinterpret_cast<std::uintptr_t>(address))) return Fail(kErrorInvalidAddress);
  return TRUE;
}

BOOL WINAPI ReadProcessMemory(HANDLE process, LPCVOID baseAddress, LPVOID buffer, SIZE_T size, SIZE_T *bytesRead) {
  auto address = reinterpret_cast<std::uintptr_t>(baseAddress);
  Record("ReadProcessMemory", Hex(address) + "|" + Hex(size));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (bytesRead) *bytesRead = 0;
  if (unsigned fault = InjectedFault("ReadProcessMemory")) return Fail(fault);
  SimProcess *source = TargetOf(process, PROCESS_VM_READ);
  if (!source) return FALSE;
  const unsigned char *memory = ProcessMemoryAt(source->id, address, size);
  if (!memory) return Fail(ERROR_PARTIAL_COPY);
  std::memcpy(buffer, memory, size);
  if (bytesRead) *bytesRead = size;
  return TRUE;
}

BOOL WINAPI WriteProcessMemory(HANDLE process, LPVOID baseAddress, LPCVOID buffer, SIZE_T size,
                               SIZE_T *bytesWritten) {
  auto address = reinterpret_cast<std::uintptr_t>(baseAddress);
  Record("WriteProcessMemory", Hex(address) + "|" + Hex(size));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (bytesWritten) *bytesWritten = 0;
  if (unsigned fault = InjectedFault("WriteProcessMemory")) return Fail(fault);
  SimProcess *target = TargetOf(process, PROCESS_VM_WRITE);
  if (!target) return FALSE;
  unsigned char *memory = ProcessMemoryAt(target->id, address, size);
  if (!memory) return Fail(ERROR_PARTIAL_COPY);
  std::memcpy(memory, buffer, size);
  if (bytesWritten) *bytesWritten = size;
  return TRUE;
}
