// Freezes a window's drawing while icons move; the lock is given back only
// when it was obtained (the system holds it for one window at a time, and
// unlocking would thaw another program's window).
#pragma once

#include <windows.h>

class DrawingLock {
 public:
  explicit DrawingLock(HWND window) : locked_(LockWindowUpdate(window) != FALSE) {}
  ~DrawingLock() {
    if (locked_) LockWindowUpdate(nullptr);
  }
  DrawingLock(const DrawingLock &) = delete;
  DrawingLock &operator=(const DrawingLock &) = delete;

 private:
  bool locked_;
};
