// The two stored forms of an icon's position in a layout key.
#pragma once

#include <array>
#include <cstdint>

#include <windows.h>

// REG_BINARY, 8 bytes: x then y, signed 32-bit little-endian. All eight bytes
// 0xFF record a position query that failed.
struct IconPosition {
  int32_t x = -1;
  int32_t y = -1;

  std::array<BYTE, 8> ToBytes() const;
  static IconPosition FromBytes(const BYTE *bytes);
  bool IsUnknown() const { return x == -1 && y == -1; }
};

// REG_DWORD: the low 16 bits of x in the low word, of y in the high word.
namespace PackedIconPosition {
DWORD Pack(int32_t x, int32_t y);
int32_t UnpackX(DWORD packed);
int32_t UnpackY(DWORD packed);
}  // namespace PackedIconPosition
