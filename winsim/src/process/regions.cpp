#include "process/regions.h"

namespace winsim::detail {

namespace {
const std::uint64_t kGranularity = 0x10000;
}

std::uint64_t FirstAddressOf(ProcessKind kind) {
  return kind == ProcessKind::Native64 ? 0x000001F400000000ULL : 0x00A10000ULL;
}

std::uint64_t AllocateRegion(SimProcess &process, std::size_t size) {
  std::uint64_t base = process.nextAddress;
  std::uint64_t span = (static_cast<std::uint64_t>(size) + kGranularity - 1) / kGranularity * kGranularity;
  process.nextAddress += span ? span : kGranularity;
  process.regions[base] = std::vector<unsigned char>(size, 0);
  return base;
}

bool FreeRegion(SimProcess &process, std::uint64_t base) {
  process.givenOut.erase(base);
  return process.regions.erase(base) == 1;
}

int CountGivenOut(const SimProcess &process) { return static_cast<int>(process.givenOut.size()); }

}  // namespace winsim::detail
