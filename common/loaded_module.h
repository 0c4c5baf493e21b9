// A module loaded by name and freed with FreeLibrary when its owner goes.
#pragma once

#include <windows.h>

class LoadedModule {
 public:
  // LoadLibraryA; no name loads nothing.
  explicit LoadedModule(const char *name) : module_(name ? LoadLibraryA(name) : nullptr) { DropFailure(); }
  // LoadLibraryExA with these flags (as a data file, for instance).
  LoadedModule(const char *name, DWORD flags) : module_(name ? LoadLibraryExA(name, nullptr, flags) : nullptr) {
    DropFailure();
  }
  ~LoadedModule() {
    if (module_) FreeLibrary(module_);
  }
  LoadedModule(const LoadedModule &) = delete;
  LoadedModule &operator=(const LoadedModule &) = delete;

  bool IsLoaded() const { return module_ != nullptr; }
  HMODULE Handle() const { return module_; }

 private:
  // Old systems answer failure with a value of 32 or less.
  void DropFailure() {
    if (reinterpret_cast<ULONG_PTR>(module_) <= 32) module_ = nullptr;
  }

  HMODULE module_;
};
