#include "deskplan/layout/icon_position.h"

namespace {
void PutLittleEndian(BYTE *out, int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(bits >> (8 * i));
}

int32_t GetLittleEndian(const BYTE *in) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(in[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}
}  // namespace

std::array<BYTE, 8> IconPosition::ToBytes() const {
  std::array<BYTE, 8> bytes{};
  PutLittleEndian(bytes.data(), x);
  PutLittleEndian(bytes.data() + 4, y);
  return bytes;
}

IconPosition IconPosition::FromBytes(const BYTE *bytes) {
  return IconPosition{GetLittleEndian(bytes), GetLittleEndian(bytes + 4)};
}

namespace PackedIconPosition {

DWORD Pack(int32_t x, int32_t y) {
  return (static_cast<DWORD>(x) & 0xFFFF) | ((static_cast<DWORD>(y) & 0xFFFF) << 16);
}

int32_t UnpackX(DWORD packed) { return static_cast<int16_t>(packed & 0xFFFF); }
int32_t UnpackY(DWORD packed) { return static_cast<int16_t>(packed >> 16); }

}  // namespace PackedIconPosition
