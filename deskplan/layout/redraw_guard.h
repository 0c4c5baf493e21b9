// Keeps the list view from repainting after every single move: its redraw is
// off while icons move, and on every way out (errors and exceptions included)
// it is turned back on and the whole view invalidated, so the shell repaints
// once. The drawing lock alone does not stop the view's own repainting.
#pragma once

#include <windows.h>

class RedrawGuard {
 public:
  explicit RedrawGuard(HWND view) : view_(view) { SendMessageA(view_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawGuard() {
    SendMessageA(view_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view_, nullptr, TRUE);
  }
  RedrawGuard(const RedrawGuard &) = delete;
  RedrawGuard &operator=(const RedrawGuard &) = delete;

 private:
  HWND view_;
};
