// The simulated system's optional kernel32 functions, reached as the programs
// reach them: by name at run time.
#pragma once

#include <windows.h>

template <class Fn>
Fn Kernel32Function(const char *name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

using VirtualAllocExFn = LPVOID(WINAPI *)(HANDLE, LPVOID, SIZE_T, DWORD, DWORD);
using VirtualFreeExFn = BOOL(WINAPI *)(HANDLE, LPVOID, SIZE_T, DWORD);
using IsWow64ProcessFn = BOOL(WINAPI *)(HANDLE, PBOOL);

inline LPVOID AllocIn(HANDLE process, SIZE_T size) {
  return Kernel32Function<VirtualAllocExFn>("VirtualAllocEx")(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

inline BOOL FreeIn(HANDLE process, LPVOID address) {
  return Kernel32Function<VirtualFreeExFn>("VirtualFreeEx")(process, address, 0, MEM_RELEASE);
}
