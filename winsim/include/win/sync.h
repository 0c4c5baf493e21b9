// kernel32 critical sections. TryEnterCriticalSection is missing on the 9x
// family, so the programs look it up at run time (declared in win/optional.h).
#pragma once

#include "win/basetypes.h"

typedef struct _RTL_CRITICAL_SECTION {
  PVOID DebugInfo;  // the simulated machine's lock behind this section
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
} CRITICAL_SECTION, *PCRITICAL_SECTION, *LPCRITICAL_SECTION;

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section);
void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section);
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);
