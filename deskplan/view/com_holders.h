// COM for the length of one call: the thread's apartment, interface references
// and the item identifier lists the shell hands out, each released by its
// owner on every path.
#pragma once

#include <objbase.h>
#include <shlobj.h>

#include "common/unique_any.h"

// CoInitialize on construction; CoUninitialize on destruction when it was
// entered (S_OK, or S_FALSE when the thread was already in it).
class ComApartment {
 public:
  ComApartment() : result_(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (Entered()) CoUninitialize();
  }
  ComApartment(const ComApartment &) = delete;
  ComApartment &operator=(const ComApartment &) = delete;
  bool Entered() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// One reference on an interface, released when its owner goes.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef &) = delete;
  ComRef &operator=(const ComRef &) = delete;

  Interface *Get() const { return pointer_; }
  Interface *operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the functions that hand out a reference through a void** (or
  // Interface**) argument: the old reference is released first.
  void **PutVoid() {
    Reset();
    return reinterpret_cast<void **>(&pointer_);
  }
  Interface **Put() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface *pointer_ = nullptr;
};

// An item identifier list the shell handed out, freed with CoTaskMemFree.
using UniqueItemId = UniqueTaskMemory<ITEMID_CHILD>;
