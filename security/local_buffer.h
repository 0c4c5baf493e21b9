// A block the system allocated with LocalAlloc for us, freed with LocalFree.
#pragma once

#include <windows.h>

class LocalBuffer {
 public:
  LocalBuffer() = default;
  ~LocalBuffer() {
    if (memory_) LocalFree(memory_);
  }
  LocalBuffer(const LocalBuffer &) = delete;
  LocalBuffer &operator=(const LocalBuffer &) = delete;

  // Where a FORMAT_MESSAGE_ALLOCATE_BUFFER call stores the block's address.
  LPSTR ReceiveText() { return reinterpret_cast<LPSTR>(&memory_); }
  const char *Text() const { return static_cast<const char *>(memory_); }
  // Where a call that allocates a descriptor or another block stores it.
  void **Receive() { return &memory_; }
  void *Get() const { return memory_; }

 private:
  HLOCAL memory_ = nullptr;
};
