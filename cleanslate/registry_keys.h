// Opening and deleting single keys in a registry view.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_view.h"

// RegOpenKeyExA with the view's flag added to the access mask.
LONG OpenRegKey(RegistryView view, HKEY key, const std::string &subkey, DWORD options, REGSAM access, HKEY *opened);

// RegDeleteKeyA, or in view 2 RegDeleteKeyExA(KEY_WOW64_64KEY), looked up in
// advapi32 until found and then kept; 127 while it cannot be found.
LONG DeleteRegKey(RegistryView view, HKEY key, const std::string &subkey);

// Forgets the kept address of RegDeleteKeyExA (at program start).
void ForgetRegDeleteKeyEx();
