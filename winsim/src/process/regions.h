// Allocation of address ranges inside a simulated process.
#pragma once

#include "process/process_state.h"

namespace winsim::detail {

// 32-bit processes get addresses below 4 GiB, 64-bit ones above, as the
// program would see them from VirtualAllocEx.
std::uint64_t FirstAddressOf(ProcessKind kind);
// A zero-filled region of at least `size` bytes; answers its base.
std::uint64_t AllocateRegion(SimProcess &process, std::size_t size);
// Frees the region that starts at `base`; false when there is none.
bool FreeRegion(SimProcess &process, std::uint64_t base);
int CountGivenOut(const SimProcess &process);

}  // namespace winsim::detail
