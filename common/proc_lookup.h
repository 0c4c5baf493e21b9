// Typed lookup of a function exported by a loaded module, for functions the
// programs must find at run time because older systems lack them.
#pragma once

#include <windows.h>

template <class Fn>
Fn LookupProc(HMODULE module, const char *name) {
  // Through void(*)() so the conversion is the documented, warning-free one.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
