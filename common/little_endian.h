// Little-endian fields at byte offsets: records that another process or the
// registry reads are written byte by byte, whatever this build's own layout.
#pragma once

#include <cstdint>

inline void PutInt32(unsigned char *at, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

inline void PutUInt64(unsigned char *at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline std::int32_t GetInt32(const unsigned char *at) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}
