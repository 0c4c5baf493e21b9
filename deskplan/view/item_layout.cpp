#include "deskplan/view/item_layout.h"

ItemLayout ChooseItemLayout(std::size_t programPointerSize, bool programIsWow64, bool shellIsWow64) {
  bool system64 = programPointerSize == 8 || programIsWow64;
  return system64 && !shellIsWow64 ? ItemLayout::Wide : ItemLayout::Narrow;
}

void WriteItemRecord(unsigned char *record, ItemLayout layout, int index, std::uint64_t textAddress, int textMax) {
  const std::int32_t kTextMask = 1;  // LVIF_TEXT
  PutInt32(record + 0, kTextMask);
  PutInt32(record + 4, index);
  if (layout == ItemLayout::Wide) {
    PutUInt64(record + 24, textAddress);
    PutInt32(record + 32, textMax);
  } else {
    PutInt32(record + 20, static_cast<std::int32_t>(static_cast<std::uint32_t>(textAddress)));
    PutInt32(record + 24, textMax);
  }
}

void PutInt32(unsigned char *at, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

void PutUInt64(unsigned char *at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::int32_t GetInt32(const unsigned char *at) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}
