// A view of a file mapping, unmapped when its owner goes.
#pragma once

#include <windows.h>

class MappedView {
 public:
  explicit MappedView(LPVOID address = nullptr) : address_(address) {}
  ~MappedView() {
    if (address_) UnmapViewOfFile(address_);
  }
  MappedView(const MappedView &) = delete;
  MappedView &operator=(const MappedView &) = delete;
  unsigned char *Bytes() const { return static_cast<unsigned char *>(address_); }

 private:
  LPVOID address_;
};
