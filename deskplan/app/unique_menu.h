// A menu destroyed with DestroyMenu when its owner goes.
#pragma once

#include <windows.h>

class UniqueMenu {
 public:
  explicit UniqueMenu(HMENU menu = nullptr) : menu_(menu) {}
  ~UniqueMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  UniqueMenu(const UniqueMenu &) = delete;
  UniqueMenu &operator=(const UniqueMenu &) = delete;
  UniqueMenu(UniqueMenu &&other) noexcept : menu_(other.menu_) { other.menu_ = nullptr; }
  HMENU Get() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }

 private:
  HMENU menu_;
};
