#include "cleanslate/registry_view.h"

#include <windows.h>

#include "cleanslate/reset_error.h"
#include "common/proc_lookup.h"

namespace {
using IsWow64ProcessFn = decltype(&::IsWow64Process);
}

RegistryView DetectRegistryView() {
  auto isWow64Process = LookupProc<IsWow64ProcessFn>(GetModuleHandleA("kernel32"), "IsWow64Process");
  if (!isWow64Process) return kDefaultRegistryView;
  BOOL wow64 = FALSE;
  if (!isWow64Process(GetCurrentProcess(), &wow64)) RaiseResetError("Bad 64 bit process handle");
  return wow64 ? k64BitRegistryView : kDefaultRegistryView;
}
