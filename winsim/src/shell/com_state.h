// Internal state of ole32 in the simulated machine.
#pragma once

#include <map>
#include <memory>

#include <objbase.h>

namespace winsim::detail {

struct ComState {
  int apartmentDepth = 0;
  std::map<void *, std::unique_ptr<unsigned char[]>> taskMemory;
  int badFrees = 0;
};
ComState &Com();

// The shell's window list, when the desktop registered one (else null).
IUnknown *ShellWindowsObject();

}  // namespace winsim::detail
