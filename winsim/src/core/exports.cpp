#include "core/exports.h"

#include "optional_api.h"
#include "optional_api_reset.h"
#include "security/security_api.h"

namespace winsim::detail {

#define WINSIM_EXPORT(module, function) {module, #function, AsFarProc(&function)}

const std::vector<ExportEntry> &ExportTable() {
  static const std::vector<ExportEntry> table = {
      WINSIM_EXPORT("kernel32.dll", VirtualAllocEx),
      WINSIM_EXPORT("kernel32.dll", VirtualFreeEx),
      WINSIM_EXPORT("kernel32.dll", IsWow64Process),
      WINSIM_EXPORT("kernel32.dll", GetVersionExA),
      WINSIM_EXPORT("kernel32.dll", GetVersionExW),
      WINSIM_EXPORT("advapi32.dll", RegDeleteKeyExA),
      WINSIM_EXPORT("kernel32.dll", TryEnterCriticalSection),
      WINSIM_EXPORT("kernel32.dll", GetNativeSystemInfo),
      WINSIM_EXPORT("ntdll.dll", RtlNtStatusToDosError),
      WINSIM_EXPORT("user32.dll", GetMonitorInfoA),
      WINSIM_EXPORT("kernel32.dll", CreateToolhelp32Snapshot),
      WINSIM_EXPORT("kernel32.dll", Process32First),
      WINSIM_EXPORT("kernel32.dll", Process32Next),
      WINSIM_EXPORT("kernel32.dll", ProcessIdToSessionId),
      WINSIM_EXPORT("ntdll.dll", NtDeleteKey),
      WINSIM_EXPORT("advapi32.dll", AddAccessAllowedAceEx),
      WINSIM_EXPORT("advapi32.dll", GetNamedSecurityInfoW),
      WINSIM_EXPORT("advapi32.dll", SetNamedSecurityInfoW),
      WINSIM_EXPORT("advapi32.dll", GetSecurityInfo),
      WINSIM_EXPORT("advapi32.dll", SetSecurityInfo),
      WINSIM_EXPORT("svrapi.dll", NetAccessGetInfo),
      WINSIM_EXPORT("svrapi.dll", NetAccessDel),
      WINSIM_EXPORT("svrapi.dll", NetAccessAdd),
  };
  return table;
}

}  // namespace winsim::detail
