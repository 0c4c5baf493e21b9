// ntdll's native deletion of the key behind a handle, which the desktop reset
// looks up by name; the SDK's headers do not declare it.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

// ntdll: answers an NTSTATUS.
LONG WINAPI NtDeleteKey(HANDLE key);
