// Functions that exist only on some Windows versions. They are declared here
// as the SDK declares them, so that the programs can type their run-time
// lookups from these declarations (decltype); the programs reach them only
// through GetProcAddress, which the static checks of the shipped programs'
// import tables hold them to.
#pragma once

#include "win/basetypes.h"
#include "win/registry.h"
#include "win/sync.h"
#include "win/sysinfo.h"

// user32, from Windows 98 and 2000 on: multiple monitors.
DECLARE_HANDLE(HMONITOR);
typedef struct tagMONITORINFO {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
} MONITORINFO, *LPMONITORINFO;
#define MONITORINFOF_PRIMARY 0x00000001
BOOL WINAPI GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info);

// kernel32, from NT 4 on: memory in another process; from XP SP2 on: WOW64;
// from Windows 2000 on: sessions.
LPVOID WINAPI VirtualAllocEx(HANDLE process, LPVOID address, SIZE_T size, DWORD allocationType,
                                        DWORD protect);
BOOL WINAPI VirtualFreeEx(HANDLE process, LPVOID address, SIZE_T size, DWORD freeType);
BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64);
BOOL WINAPI ProcessIdToSessionId(DWORD processId, DWORD *sessionId);

// kernel32, from NT 4 on: a critical section entered only when free; from XP
// on: the processor as seen outside WOW64.
BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section);
void WINAPI GetNativeSystemInfo(LPSYSTEM_INFO info);

// advapi32, from XP x64 on: deletes a key in a chosen registry view.
LSTATUS WINAPI RegDeleteKeyExA(HKEY key, LPCSTR subKey, REGSAM desired, DWORD reserved);
