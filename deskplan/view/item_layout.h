// The list-view item record as the shell's process lays it out, written byte
// by byte at fixed offsets (never through this build's own LVITEMA).
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/little_endian.h"

enum class ItemLayout {
  Narrow,  // a 32-bit shell: text pointer at 20, 32 bits
  Wide,    // a 64-bit shell: text pointer at 24, 64 bits
};

// The shell reads 64-bit records when the system is 64-bit and the shell is not
// under WOW64; the system is 64-bit when this program is, or runs under WOW64.
ItemLayout ChooseItemLayout(std::size_t programPointerSize, bool programIsWow64, bool shellIsWow64);

// Writes mask = LVIF_TEXT, the index, the text address (at the layout's width)
// and the text capacity into `record`, which must be zeroed and at least 40
// bytes long.
void WriteItemRecord(unsigned char *record, ItemLayout layout, int index, std::uint64_t textAddress, int textMax);
