// Sole owner of an open registry key: closed with RegCloseKey when the owner
// goes. The predefined roots (HKEY_CURRENT_USER...) are never closed.
#pragma once

#include <windows.h>

class UniqueRegKey {
 public:
  UniqueRegKey() = default;
  explicit UniqueRegKey(HKEY key) : key_(key) {}
  ~UniqueRegKey() { Reset(); }

  UniqueRegKey(const UniqueRegKey &) = delete;
  UniqueRegKey &operator=(const UniqueRegKey &) = delete;
  UniqueRegKey(UniqueRegKey &&other) noexcept : key_(other.Release()) {}
  UniqueRegKey &operator=(UniqueRegKey &&other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

  // Gives up ownership without closing.
  HKEY Release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }

  void Reset(HKEY key = nullptr) {
    if (key_ && !IsPredefined(key_)) RegCloseKey(key_);
    key_ = key;
  }

  // The handles 0x80000000 to 0x80000006, sign-extended on 64-bit systems.
  static bool IsPredefined(HKEY key) {
    LONG_PTR value = reinterpret_cast<LONG_PTR>(key);
    LONG_PTR first = reinterpret_cast<LONG_PTR>(HKEY_CLASSES_ROOT);
    return value >= first && value <= first + 6;
  }

 private:
  HKEY key_ = nullptr;
};
