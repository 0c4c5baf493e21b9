// An icon destroyed with DestroyIcon when its owner lets it go.
#pragma once

#include <windows.h>

class UniqueIcon {
 public:
  explicit UniqueIcon(HICON icon = nullptr) : icon_(icon) {}
  ~UniqueIcon() { Reset(); }
  UniqueIcon(const UniqueIcon &) = delete;
  UniqueIcon &operator=(const UniqueIcon &) = delete;
  HICON Get() const { return icon_; }
  explicit operator bool() const { return icon_ != nullptr; }
  void Reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }

 private:
  HICON icon_;
};
