// Kernel object handles: one table for processes, mappings, snapshots, tokens
// and whatever else later parts add. CloseHandle closes any of them.
#pragma once

#include <memory>

#include <windows.h>

namespace winsim::detail {

struct KernelObject {
  virtual ~KernelObject() = default;
};

HANDLE NewHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle when it is open and of type T, else null.
template <class T>
std::shared_ptr<T> HandleObject(HANDLE handle);

std::shared_ptr<KernelObject> FindHandle(HANDLE handle);

template <class T>
std::shared_ptr<T> HandleObject(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(FindHandle(handle));
}

}  // namespace winsim::detail
