// SecurityApi: the security functions the layer finds at run time, filled
// once per process for the running family (advapi32 on the NT family,
// svrApi on the 9x family). A missing function stays null.
#pragma once

#include <windows.h>
#include <aclapi.h>

using GetNamedSecurityInfoWFn = DWORD(WINAPI *)(LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID *, PSID *, PACL *,
                                                PACL *, PSECURITY_DESCRIPTOR *);
using SetNamedSecurityInfoWFn = DWORD(WINAPI *)(LPWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);
using GetSecurityInfoFn = DWORD(WINAPI *)(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID *, PSID *, PACL *, PACL *,
                                          PSECURITY_DESCRIPTOR *);
using SetSecurityInfoFn = DWORD(WINAPI *)(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);
using NetAccessGetInfoFn = unsigned(WINAPI *)(const char *, char *, short, char *, unsigned short, unsigned short *);
using NetAccessDelFn = unsigned(WINAPI *)(const char *, char *);
using NetAccessAddFn = unsigned(WINAPI *)(const char *, short, char *, unsigned short);

struct SecurityApiTable {
  bool loaded = false;
  GetNamedSecurityInfoWFn getNamedSecurityInfo = nullptr;
  SetNamedSecurityInfoWFn setNamedSecurityInfo = nullptr;
  GetSecurityInfoFn getSecurityInfo = nullptr;
  SetSecurityInfoFn setSecurityInfo = nullptr;
  NetAccessGetInfoFn netAccessGetInfo = nullptr;
  NetAccessDelFn netAccessDel = nullptr;
  NetAccessAddFn netAccessAdd = nullptr;
};

// Fills the table on the first call.
const SecurityApiTable &SecurityApi(bool win9x);
