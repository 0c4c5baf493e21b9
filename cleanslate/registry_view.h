// Which registry view Cleanslate works in: the process's own, or the 64-bit
// one when a 32-bit build runs on 64-bit Windows; and the access masks of its
// registry calls in each view: view 2 adds KEY_WOW64_64KEY to every mask so
// that a 32-bit build on 64-bit Windows reaches the user's real keys.
#pragma once

#include <windows.h>

using RegistryView = unsigned char;

constexpr RegistryView kDefaultRegistryView = 1;
constexpr RegistryView k64BitRegistryView = 2;

// 2 under WOW64, else 1; raises "Bad 64 bit process handle" when the system
// cannot say.
RegistryView DetectRegistryView();

// The mask with the view's flag.
inline REGSAM ViewAccess(RegistryView view, REGSAM access) {
  return view == k64BitRegistryView ? access | KEY_WOW64_64KEY : access;
}
