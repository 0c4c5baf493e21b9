// GetNativeSystemInfo: the processor the machine reports, 32-bit x86 unless a
// test says otherwise.
#include <cstring>

#include "core/component.h"
#include "core/trace.h"
#include "optional_api.h"
#include "winsim/system_info.h"

namespace winsim {
namespace detail {
namespace {
struct ProcessorState {
  WORD architecture = PROCESSOR_ARCHITECTURE_INTEL;
};
}  // namespace
}  // namespace detail

void SetProcessorArchitecture(WORD architecture) {
  detail::Component<detail::ProcessorState>().architecture = architecture;
}

}  // namespace winsim

void WINAPI GetNativeSystemInfo(LPSYSTEM_INFO info) {
  winsim::detail::Record("GetNativeSystemInfo");
  std::memset(info, 0, sizeof *info);
  WORD architecture = winsim::detail::Component<winsim::detail::ProcessorState>().architecture;
  info->wProcessorArchitecture = architecture;
  info->dwPageSize = 4096;
  info->dwAllocationGranularity = 65536;
  info->dwNumberOfProcessors = 1;
  info->dwActiveProcessorMask = 1;
  info->dwProcessorType = architecture == PROCESSOR_ARCHITECTURE_AMD64 ? 8664 : 586;
}
