// Run-time lookups in kernel32 for the cross-process method: functions that
// older systems lack and that must not appear in the import table.
#pragma once

#include <windows.h>

using VirtualAllocExFunction = decltype(&::VirtualAllocEx);
using VirtualFreeExFunction = decltype(&::VirtualFreeEx);
using IsWow64ProcessFunction = decltype(&::IsWow64Process);

extern VirtualAllocExFunction VirtualAllocExProc;
extern VirtualFreeExFunction VirtualFreeExProc;

// Looks up VirtualAllocEx and VirtualFreeEx; true only when both exist.
bool LoadRemoteMemoryFunctions();
// True only when IsWow64Process exists, succeeds and reports a WOW64 process.
bool IsProcessWow64(HANDLE process);
// Whether kernel32 exports VirtualAllocEx, looked up afresh: every NT-family
// system does and no Windows 9x system does. Unlike the version the system
// reports, a compatibility mode cannot change it.
bool KernelExportsVirtualAllocEx();
// Forgets every looked-up address (a fresh start, and between tests).
void ResetRemoteMemoryFunctions();
