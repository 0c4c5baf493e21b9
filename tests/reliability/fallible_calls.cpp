#include "fallible_calls.h"

namespace {

// HRESULT and NTSTATUS codes the shell and ntdll answer with.
const DWORD kOutOfMemoryResult = 0x8007000E;  // E_OUTOFMEMORY
const DWORD kFailResult = 0x80004005;         // E_FAIL
const DWORD kStatusAccessDenied = 0xC0000022;

const std::vector<FallibleCall> kFallibleCalls = {
    {"OpenProcess", ERROR_ACCESS_DENIED},
    {"IsWow64Process", ERROR_ACCESS_DENIED},
    {"VirtualAlloc", ERROR_NOT_ENOUGH_MEMORY},
    {"VirtualAllocEx", ERROR_NOT_ENOUGH_MEMORY},
    {"VirtualFreeEx", ERROR_INVALID_PARAMETER},
    {"ReadProcessMemory", ERROR_PARTIAL_COPY},
    {"WriteProcessMemory", ERROR_PARTIAL_COPY},
    {"CreateFileMappingA", ERROR_NOT_ENOUGH_MEMORY},
    {"MapViewOfFile", ERROR_NOT_ENOUGH_MEMORY},
    {"RegOpenKeyExA", ERROR_ACCESS_DENIED},
    {"RegCreateKeyExA", ERROR_ACCESS_DENIED},
    {"RegQueryValueExA", ERROR_ACCESS_DENIED},
    {"RegSetValueExA", ERROR_ACCESS_DENIED},
    {"RegDeleteValueA", ERROR_ACCESS_DENIED},
    {"RegDeleteKeyA", ERROR_ACCESS_DENIED},
    {"RegDeleteKeyExA", ERROR_ACCESS_DENIED},
    {"RegEnumValueA", ERROR_ACCESS_DENIED},
    {"RegEnumKeyExA", ERROR_ACCESS_DENIED},
    {"RegQueryInfoKeyA", ERROR_ACCESS_DENIED},
    {"RegCloseKey", ERROR_INVALID_HANDLE},
    {"EnumWindows", ERROR_NOT_ENOUGH_MEMORY},
    {"EnumChildWindows", ERROR_NOT_ENOUGH_MEMORY},
    {"GetWindowLongA", ERROR_ACCESS_DENIED},
    {"GetWindowLongPtrA", ERROR_ACCESS_DENIED},
    {"SetWindowLongA", ERROR_ACCESS_DENIED},
    {"SetWindowLongPtrA", ERROR_ACCESS_DENIED},
    {"LockWindowUpdate", ERROR_ACCESS_DENIED},
    {"LCMapStringA", ERROR_INSUFFICIENT_BUFFER},
    {"RegisterClassA", ERROR_NOT_ENOUGH_MEMORY},
    {"CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY},
    {"PostMessageA", 1816},       // ERROR_NOT_ENOUGH_QUOTA
    {"Shell_NotifyIconA", 1460},  // ERROR_TIMEOUT
    {"CreatePopupMenu", ERROR_NOT_ENOUGH_MEMORY},
    {"TrackPopupMenu", ERROR_NOT_ENOUGH_MEMORY},
    {"LoadImageA", ERROR_NOT_ENOUGH_MEMORY},
    {"MessageBoxA", ERROR_NOT_ENOUGH_MEMORY},
    // Files and the documents folder.
    {"CreateFileA", ERROR_ACCESS_DENIED},
    {"WriteFile", ERROR_DISK_FULL},
    {"DeleteFileA", ERROR_SHARING_VIOLATION},
    {"SetFilePointer", ERROR_INVALID_HANDLE},
    {"SetEndOfFile", ERROR_DISK_FULL},
    {"GetTempFileNameA", ERROR_DISK_FULL},
    {"MoveFileExA", ERROR_ACCESS_DENIED},
    {"MoveFileA", ERROR_ACCESS_DENIED},
    {"SHGetMalloc", kOutOfMemoryResult},
    {"SHGetSpecialFolderLocation", kFailResult},
    {"SHGetPathFromIDListA", ERROR_NOT_ENOUGH_MEMORY},
    // The token, accounts and the security of keys.
    {"OpenProcessToken", ERROR_ACCESS_DENIED},
    {"GetTokenInformation", ERROR_ACCESS_DENIED},
    {"AdjustTokenPrivileges", ERROR_ACCESS_DENIED},
    {"LookupAccountSidA", ERROR_NONE_MAPPED},
    {"LookupAccountNameA", ERROR_NONE_MAPPED},
    {"GetUserNameA", ERROR_NOT_ENOUGH_MEMORY},
    {"GetNamedSecurityInfoW", ERROR_ACCESS_DENIED},
    {"SetNamedSecurityInfoW", ERROR_ACCESS_DENIED},
    {"GetSecurityInfo", ERROR_ACCESS_DENIED},
    {"SetSecurityInfo", ERROR_ACCESS_DENIED},
    {"NtDeleteKey", kStatusAccessDenied},
    // Processes and the session.
    {"CreateToolhelp32Snapshot", ERROR_NOT_ENOUGH_MEMORY},
    {"Process32First", ERROR_NO_MORE_FILES},
    {"Process32Next", ERROR_NO_MORE_FILES},
    {"ProcessIdToSessionId", ERROR_ACCESS_DENIED},
    {"TerminateProcess", ERROR_ACCESS_DENIED},
    {"ExitWindowsEx", ERROR_PRIVILEGE_NOT_HELD},
};

const char *const kSilentByDesign[] = {"RegOpenKeyExA",   "RegQueryValueExA", "RegCreateKeyExA",
                                              "RegSetValueExA",  "CreateWindowExA",  "RegisterClassA",
                                              "PostMessageA",    "SetWindowLongA",   "CreateFileMappingA",
                                              "MapViewOfFile"};

}  // namespace

const std::vector<FallibleCall> &FallibleCalls() { return kFallibleCalls; }

bool SilentByDesign(const std::string &function) {
  for (const char *name : kSilentByDesign)
    if (function == name) return true;
  return false;
}
