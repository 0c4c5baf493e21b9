// The access masks of Cleanslate's registry calls in each view: view 2 adds
// KEY_WOW64_64KEY to every mask so that a 32-bit build on 64-bit Windows
// reaches the user's real keys.
#pragma once

#include <windows.h>

#include "cleanslate/registry_view.h"

// The mask with the view's flag.
inline REGSAM ViewAccess(RegistryView view, REGSAM access) {
  return view == k64BitRegistryView ? access | KEY_WOW64_64KEY : access;
}
