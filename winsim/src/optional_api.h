// Functions that exist only on some Windows versions. The programs reach them
// through GetProcAddress; the simulated machine implements them here.
#pragma once

#include <windows.h>

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

// kernel32, from NT 4 on: a critical section entered only when free.
BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section);

// kernel32, from XP on: the processor as seen outside WOW64.
void WINAPI GetNativeSystemInfo(LPSYSTEM_INFO info);

// ntdll: NTSTATUS to Win32 error code.
ULONG WINAPI RtlNtStatusToDosError(LONG status);

// kernel32, from NT 4 on: memory in another process; from XP SP2 on: WOW64.
LPVOID WINAPI VirtualAllocEx(HANDLE process, LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
BOOL WINAPI VirtualFreeEx(HANDLE process, LPVOID address, SIZE_T size, DWORD freeType);
BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64);

// advapi32, from XP x64 on: deletes a key in a chosen registry view.
LSTATUS WINAPI RegDeleteKeyExA(HKEY key, LPCSTR subKey, REGSAM desired, DWORD reserved);
