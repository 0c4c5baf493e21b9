#include "deskplan/view/virtalloc.h"

#include <exception>

#include "common/proc_lookup.h"
#include "common/unique_any.h"

VirtualAllocExFunction VirtualAllocExProc = nullptr;
VirtualFreeExFunction VirtualFreeExProc = nullptr;

namespace {

IsWow64ProcessFunction isWow64ProcessProc = nullptr;

}  // namespace

bool LoadRemoteMemoryFunctions() {
  try {
    const UniqueModule kernel = LoadModule("kernel32.dll");
    if (!kernel) return false;
    VirtualAllocExProc = LookupProc<VirtualAllocExFunction>(kernel.Get(), "VirtualAllocEx");
    VirtualFreeExProc = LookupProc<VirtualFreeExFunction>(kernel.Get(), "VirtualFreeEx");
    return VirtualAllocExProc != nullptr && VirtualFreeExProc != nullptr;
  } catch (const std::exception &) {
    return false;
  }
}

bool IsProcessWow64(HANDLE process) {
  if (!isWow64ProcessProc) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel) isWow64ProcessProc = LookupProc<IsWow64ProcessFunction>(kernel, "IsWow64Process");
  }
  if (!isWow64ProcessProc) return false;
  BOOL wow64 = FALSE;
  if (!isWow64ProcessProc(process, &wow64)) return false;
  return wow64 != FALSE;
}

bool KernelExportsVirtualAllocEx() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel && LookupProc<VirtualAllocExFunction>(kernel, "VirtualAllocEx") != nullptr;
}

void ResetRemoteMemoryFunctions() {
  VirtualAllocExProc = nullptr;
  VirtualFreeExProc = nullptr;
  isWow64ProcessProc = nullptr;
}
