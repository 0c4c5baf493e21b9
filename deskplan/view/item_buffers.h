// The two transfer buffers of the cross-process method: one in this program,
// one inside the shell's process, each released when its owner goes.
#pragma once

#include <cstddef>

#include <windows.h>

// A buffer holds the slots of one batch of items. A slot starts with the item
// record (after a position query the same bytes hold the POINT), and its text
// area follows at a fixed offset; the record's text pointer points there.
const int kItemBatchSize = 64;
const std::size_t kItemSlotTextOffset = 128;  // room for the widest LVITEMA
const std::size_t kItemTextCapacity = 4096;
const std::size_t kItemSlotSize = kItemSlotTextOffset + kItemTextCapacity;
const std::size_t kItemBufferSize = kItemBatchSize * kItemSlotSize;

class LocalItemBuffer {
 public:
  // Allocates only when `wanted`.
  explicit LocalItemBuffer(bool wanted);
  ~LocalItemBuffer();
  LocalItemBuffer(const LocalItemBuffer &) = delete;
  LocalItemBuffer &operator=(const LocalItemBuffer &) = delete;
  unsigned char *Bytes() const { return bytes_; }

 private:
  unsigned char *bytes_ = nullptr;
};

class RemoteItemBuffer {
 public:
  // Allocates in `process` unless it is null or VirtualAllocEx was not found.
  explicit RemoteItemBuffer(HANDLE process);
  ~RemoteItemBuffer();
  RemoteItemBuffer(const RemoteItemBuffer &) = delete;
  RemoteItemBuffer &operator=(const RemoteItemBuffer &) = delete;
  LPVOID Address() const { return address_; }

 private:
  HANDLE process_;
  LPVOID address_ = nullptr;
};
