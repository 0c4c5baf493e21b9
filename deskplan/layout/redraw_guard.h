// The view's painting while icons move.
#pragma once

#include <windows.h>

// Keeps the list view from repainting after every single move: once Suspend
// has been called its redraw is off, and when the guard goes (on every way
// out, errors and exceptions included) it is turned back on and the whole view
// invalidated, so the shell repaints once. The drawing lock alone does not
// stop the view's own repainting. A guard that was never suspended does
// nothing, so a restore that moves nothing leaves the view alone.
class RedrawGuard {
 public:
  explicit RedrawGuard(HWND view) : view_(view) {}
  ~RedrawGuard() {
    if (!suspended_) return;
    SendMessageA(view_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view_, nullptr, TRUE);
  }
  RedrawGuard(const RedrawGuard &) = delete;
  RedrawGuard &operator=(const RedrawGuard &) = delete;

  // Turns the redraw off, the first time only.
  void Suspend() {
    if (suspended_) return;
    SendMessageA(view_, WM_SETREDRAW, FALSE, 0);
    suspended_ = true;
  }

 private:
  HWND view_;
  bool suspended_ = false;
};

// Freezes a window's drawing while icons move; the lock is given back only
// when it was obtained (the system holds it for one window at a time, and
// unlocking would thaw another program's window).
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
