// A zero-filled LocalAlloc block, freed with LocalFree when its owner goes.
#pragma once

#include <windows.h>

class LocalBlock {
 public:
  explicit LocalBlock(SIZE_T size) : memory_(LocalAlloc(LMEM_ZEROINIT, size)) {}
  ~LocalBlock() {
    if (memory_) LocalFree(memory_);
  }
  LocalBlock(const LocalBlock &) = delete;
  LocalBlock &operator=(const LocalBlock &) = delete;

  void *Get() const { return memory_; }
  explicit operator bool() const { return memory_ != nullptr; }

 private:
  HLOCAL memory_;
};
