// The layout of the cross-process method's two transfer buffers: one in this
// program, one inside the shell's process.
#pragma once

#include <cstddef>

// A buffer holds the slots of one batch of items. A slot starts with the item
// record (after a position query the same bytes hold the POINT), and its text
// area follows at a fixed offset; the record's text pointer points there.
const int kItemBatchSize = 64;
const std::size_t kItemSlotTextOffset = 128;  // room for the widest LVITEMA
const std::size_t kItemTextCapacity = 4096;
const std::size_t kItemSlotSize = kItemSlotTextOffset + kItemTextCapacity;
const std::size_t kItemBufferSize = kItemBatchSize * kItemSlotSize;
