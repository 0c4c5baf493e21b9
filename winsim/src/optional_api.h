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
