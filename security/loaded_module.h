// A module loaded with LoadLibraryExA, freed with FreeLibrary.
#pragma once

#include <windows.h>

class LoadedModule {
 public:
  // No name loads nothing. Values up to 32 are failures on old systems.
  LoadedModule(const char *name, DWORD flags) : module_(name ? LoadLibraryExA(name, nullptr, flags) : nullptr) {
    if (reinterpret_cast<ULONG_PTR>(module_) <= 32) module_ = nullptr;
  }
  ~LoadedModule() {
    if (module_) FreeLibrary(module_);
  }
  LoadedModule(const LoadedModule &) = delete;
  LoadedModule &operator=(const LoadedModule &) = delete;

  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};
