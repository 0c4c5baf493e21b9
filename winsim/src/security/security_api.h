// The share-level access lists of svrapi.dll (Windows 9x family), which the
// security layer looks up at run time; the SDK's headers do not declare them
// in this form. (advapi32's named-object functions are in <aclapi.h>.)
#pragma once

#include <aclapi.h>
#include <windows.h>

// svrapi.dll (Windows 9x family). Exported by name, never declared publicly.
#pragma once

#include <aclapi.h>
#include <windows.h>

DWORD WINAPI GetNamedSecurityInfoW(LPCWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID *owner,
                                   PSID *group, PACL *dacl, PACL *sacl, PSECURITY_DESCRIPTOR *descriptor);
DWORD WINAPI SetNamedSecurityInfoW(LPWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID owner, PSID group,
                                   PACL dacl, PACL sacl);
DWORD WINAPI GetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID *owner, PSID *group,
                             PACL *dacl, PACL *sacl, PSECURITY_DESCRIPTOR *descriptor);
DWORD WINAPI SetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID owner, PSID group,
                             PACL dacl, PACL sacl);

// svrapi.dll: share-level access lists of the Windows 9x family.
unsigned WINAPI NetAccessGetInfo(const char *server, char *resource, short level, char *buffer,
                                 unsigned short bufferSize, unsigned short *totalAvailable);
unsigned WINAPI NetAccessDel(const char *server, char *resource);
unsigned WINAPI NetAccessAdd(const char *server, short level, char *buffer, unsigned short bufferSize);
