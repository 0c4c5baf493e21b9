// Functions that only some systems export, which the desktop reset looks up by
// name: toolhelp snapshots (NT 5 on), sessions (Terminal Services, NT 5 on)
// and the native deletion of the key behind a handle.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL WINAPI ProcessIdToSessionId(DWORD processId, DWORD *sessionId);

// ntdll: answers an NTSTATUS.
LONG WINAPI NtDeleteKey(HANDLE key);
