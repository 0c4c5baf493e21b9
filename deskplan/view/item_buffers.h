// The two transfer buffers of the cross-process method: one in this program,
// one inside the shell's process, each released when its owner goes.
#pragma once

#include <cstddef>

#include <windows.h>

const std::size_t kItemBufferSize = 8192;
const std::size_t kItemTextOffset = 4096;
const std::size_t kItemTextCapacity = 4096;

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
