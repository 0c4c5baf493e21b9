// The one owner of every kind of handle the programs hold: a value, a close
// function and the values that mean "none". Closed once, on every path, when
// its owner goes or takes another value; moved, never copied.
#pragma once

#include <objbase.h>
#include <windows.h>

// Only null means none (most handles and every pointer).
struct NullMeansNone {
  template <class T>
  static bool IsNone(T value) {
    return value == T();
  }
};

// kernel32 answers failure with null from some calls and with
// INVALID_HANDLE_VALUE from others (CreateFile, CreateToolhelp32Snapshot).
struct NullOrInvalidMeansNone {
  static bool IsNone(HANDLE value) { return value == nullptr || value == INVALID_HANDLE_VALUE; }
};

// `Close` is a function object; one that carries state (the allocator or the
// process a block belongs to) is given to the constructor.
template <class T, class Close, class None = NullMeansNone>
class UniqueAny : private Close {
 public:
  UniqueAny() = default;
  explicit UniqueAny(T value, Close close = Close()) : Close(close), value_(value) {}
  // Inlined: an out-of-line copy per kind of handle costs more than the call.
  __attribute__((always_inline)) ~UniqueAny() { Reset(); }
  UniqueAny(const UniqueAny &) = delete;
  UniqueAny &operator=(const UniqueAny &) = delete;
  UniqueAny(UniqueAny &&other) noexcept : Close(other), value_(other.Release()) {}
  UniqueAny &operator=(UniqueAny &&other) noexcept {
    if (this != &other) {
      Reset(other.Release());
      static_cast<Close &>(*this) = other;
    }
    return *this;
  }

  T Get() const { return value_; }
  explicit operator bool() const { return !None::IsNone(value_); }

  // Gives up ownership without closing.
  T Release() {
    const T value = value_;
    value_ = T();
    return value;
  }
  __attribute__((always_inline)) void Reset(T value = T()) {
    if (!None::IsNone(value_)) static_cast<Close &>(*this)(value_);
    value_ = value;
  }
  // For out-parameters: what was held is closed first.
  T *Put() {
    Reset();
    return &value_;
  }

 private:
  T value_ = T();
};

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct CloseRegKey {
  // The predefined roots (HKEY_CURRENT_USER...) are never closed.
  void operator()(HKEY key) const {
    if (!IsPredefined(key)) RegCloseKey(key);
  }
  // The handles 0x80000000 to 0x80000006, sign-extended on 64-bit systems.
  static bool IsPredefined(HKEY key) {
    const LONG_PTR value = reinterpret_cast<LONG_PTR>(key);
    const LONG_PTR first = reinterpret_cast<LONG_PTR>(HKEY_CLASSES_ROOT);
    return value >= first && value <= first + 6;
  }
};
struct FreeModule {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct UnmapView {
  void operator()(void *address) const { UnmapViewOfFile(address); }
};
struct FreeLocal {
  void operator()(HLOCAL memory) const { LocalFree(memory); }
};
struct FreeTaskMemory {
  void operator()(void *memory) const { CoTaskMemFree(memory); }
};
struct FreeAllocatedSid {
  void operator()(PSID sid) const { FreeSid(sid); }
};
struct ReleaseVirtual {
  void operator()(void *address) const { VirtualFree(address, 0, MEM_RELEASE); }
};

// Process, thread, token, snapshot, mapping and file handles.
using UniqueHandle = UniqueAny<HANDLE, CloseKernelHandle, NullOrInvalidMeansNone>;
using UniqueRegKey = UniqueAny<HKEY, CloseRegKey>;
using UniqueModule = UniqueAny<HMODULE, FreeModule>;
using UniqueMenu = UniqueAny<HMENU, DestroyMenuHandle>;
using UniqueIcon = UniqueAny<HICON, DestroyIconHandle>;
using UniqueMappedView = UniqueAny<void *, UnmapView>;
using UniqueLocal = UniqueAny<HLOCAL, FreeLocal>;
using UniqueVirtual = UniqueAny<void *, ReleaseVirtual>;
template <class T>
using UniqueTaskMemory = UniqueAny<T *, FreeTaskMemory>;

// LoadLibraryA, or LoadLibraryExA with `flags` (as a data file, for
// instance); old systems answer failure with a value of 32 or less, which
// holds nothing.
inline UniqueModule LoadModule(const char *name, DWORD flags = 0) {
  if (!name) return UniqueModule();
  HMODULE module = flags ? LoadLibraryExA(name, nullptr, flags) : LoadLibraryA(name);
  if (reinterpret_cast<ULONG_PTR>(module) <= 32) return UniqueModule();
  return UniqueModule(module);
}
