// Test-facing control of the processor the machine reports.
#pragma once

#include <windows.h>

namespace winsim {

// What GetNativeSystemInfo answers in wProcessorArchitecture
// (PROCESSOR_ARCHITECTURE_INTEL by default, PROCESSOR_ARCHITECTURE_AMD64...).
void SetProcessorArchitecture(WORD architecture);

}  // namespace winsim
