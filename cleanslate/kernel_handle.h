// A kernel handle closed with CloseHandle when its owner goes. Both failure
// values that kernel32 uses (null and INVALID_HANDLE_VALUE) mean "none".
#pragma once

#include <windows.h>

class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~KernelHandle() {
    if (handle_) CloseHandle(handle_);
  }
  KernelHandle(const KernelHandle &) = delete;
  KernelHandle &operator=(const KernelHandle &) = delete;

  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_;
};
