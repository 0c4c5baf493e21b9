// SecurityApi: the security functions the layer finds at run time, filled
// once per process for the running family (advapi32 on the NT family,
// svrApi on the 9x family). A missing function stays null.
#pragma once

#include <windows.h>
#include <aclapi.h>

using GetNamedSecurityInfoWFn = decltype(&::GetNamedSecurityInfoW);
using SetNamedSecurityInfoWFn = decltype(&::SetNamedSecurityInfoW);
using GetSecurityInfoFn = decltype(&::GetSecurityInfo);
using SetSecurityInfoFn = decltype(&::SetSecurityInfo);
// svrapi.dll's share access lists of the 9x family, as that system's own
// headers declared them (not in this SDK).
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
