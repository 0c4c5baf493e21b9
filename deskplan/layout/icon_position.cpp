#include "deskplan/layout/icon_position.h"

#include "common/little_endian.h"

std::array<BYTE, 8> IconPosition::ToBytes() const {
  std::array<BYTE, 8> bytes{};
  PutInt32(bytes.data(), x);
  PutInt32(bytes.data() + 4, y);
  return bytes;
}

IconPosition IconPosition::FromBytes(const BYTE *bytes) {
  return IconPosition{GetInt32(bytes), GetInt32(bytes + 4)};
}

namespace PackedIconPosition {

DWORD Pack(int32_t x, int32_t y) {
  return (static_cast<DWORD>(x) & 0xFFFF) | ((static_cast<DWORD>(y) & 0xFFFF) << 16);
}

int32_t UnpackX(DWORD packed) { return static_cast<int16_t>(packed & 0xFFFF); }
int32_t UnpackY(DWORD packed) { return static_cast<int16_t>(packed >> 16); }

}  // namespace PackedIconPosition
