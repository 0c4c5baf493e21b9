// A counted reference to an object of the security layer. Copying takes a
// reference, destruction drops it, so callers never count by hand.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

template <class T>
class IPtr {
 public:
  IPtr() = default;
  IPtr(std::nullptr_t) {}
  // Takes a new reference on a borrowed pointer.
  explicit IPtr(T *object) : object_(object) {
    if (object_) object_->AddRef();
  }
  IPtr(const IPtr &other) : IPtr(other.object_) {}
  IPtr(IPtr &&other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
  IPtr(const IPtr<U> &other) : IPtr(static_cast<T *>(other.get())) {}
  ~IPtr() { reset(); }

  IPtr &operator=(IPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  // Adopts a reference the caller already owns (an interface query's result).
  static IPtr Adopt(T *object) {
    IPtr result;
    result.object_ = object;
    return result;
  }

  void reset() {
    if (T *old = std::exchange(object_, nullptr)) old->Release();
  }

  T *get() const { return object_; }
  T *operator->() const { return object_; }
  T &operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T *object_ = nullptr;
};

template <class T, class U>
bool operator==(const IPtr<T> &a, const IPtr<U> &b) {
  return a.get() == b.get();
}
