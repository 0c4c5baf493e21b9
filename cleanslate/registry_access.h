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

// Creating a key to write a value: KEY_WRITE (0x20006, view 2: 0x20106).
inline REGSAM WriteKeyAccess(RegistryView view) { return ViewAccess(view, KEY_WRITE); }
// Opening a key to list its subkeys: 8, view 2: 0x108.
inline REGSAM ListKeyAccess(RegistryView view) { return ViewAccess(view, KEY_ENUMERATE_SUB_KEYS); }
