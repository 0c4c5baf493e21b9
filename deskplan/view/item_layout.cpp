#include "deskplan/view/item_layout.h"

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#endif

namespace {

// Where the fields lie in each layout.
const std::size_t kMaskOffset = 0;
const std::size_t kIndexOffset = 4;
const std::size_t kNarrowTextOffset = 20;
const std::size_t kNarrowCapacityOffset = 24;
const std::size_t kWideTextOffset = 24;
const std::size_t kWideCapacityOffset = 32;

#ifdef _WIN32
// The SDK's own record for this build's pointer width is one of the two.
constexpr bool kWideBuild = sizeof(void *) == 8;
static_assert(offsetof(LVITEMA, mask) == kMaskOffset, "mask");
static_assert(offsetof(LVITEMA, iItem) == kIndexOffset, "item index");
static_assert(offsetof(LVITEMA, pszText) == (kWideBuild ? kWideTextOffset : kNarrowTextOffset), "text pointer");
static_assert(offsetof(LVITEMA, cchTextMax) == (kWideBuild ? kWideCapacityOffset : kNarrowCapacityOffset),
              "text capacity");
#endif

}  // namespace

ItemLayout ChooseItemLayout(std::size_t programPointerSize, bool programIsWow64, bool shellIsWow64) {
  bool system64 = programPointerSize == 8 || programIsWow64;
  return system64 && !shellIsWow64 ? ItemLayout::Wide : ItemLayout::Narrow;
}

void WriteItemRecord(unsigned char *record, ItemLayout layout, int index, std::uint64_t textAddress, int textMax) {
  const std::int32_t kTextMask = 1;  // LVIF_TEXT
  PutInt32(record + kMaskOffset, kTextMask);
  PutInt32(record + kIndexOffset, index);
  if (layout == ItemLayout::Wide) {
    PutUInt64(record + kWideTextOffset, textAddress);
    PutInt32(record + kWideCapacityOffset, textMax);
  } else {
    PutInt32(record + kNarrowTextOffset, static_cast<std::int32_t>(static_cast<std::uint32_t>(textAddress)));
    PutInt32(record + kNarrowCapacityOffset, textMax);
  }
}
