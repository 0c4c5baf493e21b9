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
