#include "security/security_api.h"

#include "common/proc_lookup.h"

const SecurityApiTable &SecurityApi(bool win9x) {
  static SecurityApiTable table;
  if (table.loaded) return table;
  // Marked first: a failed load is not tried again.
  table.loaded = true;
  // The library stays loaded for the rest of the process, as the functions
  // taken from it are kept.
  if (win9x) {
    HMODULE svrapi = LoadLibraryA("svrApi.dll");
    if (!svrapi) return table;
    table.netAccessGetInfo = LookupProc<NetAccessGetInfoFn>(svrapi, "NetAccessGetInfo");
    table.netAccessDel = LookupProc<NetAccessDelFn>(svrapi, "NetAccessDel");
    table.netAccessAdd = LookupProc<NetAccessAddFn>(svrapi, "NetAccessAdd");
    return table;
  }
  HMODULE advapi = LoadLibraryA("advapi32.dll");
  if (!advapi) return table;
  table.getNamedSecurityInfo = LookupProc<GetNamedSecurityInfoWFn>(advapi, "GetNamedSecurityInfoW");
  table.setNamedSecurityInfo = LookupProc<SetNamedSecurityInfoWFn>(advapi, "SetNamedSecurityInfoW");
  table.getSecurityInfo = LookupProc<GetSecurityInfoFn>(advapi, "GetSecurityInfo");
  table.setSecurityInfo = LookupProc<SetSecurityInfoFn>(advapi, "SetSecurityInfo");
  return table;
}
