// Test-facing model of another program that writes a key back as soon as it
// is deleted: the deletion succeeds, yet a key of that name is there again.
#pragma once

#include <string>

#include <windows.h>

namespace winsim {

void RecreateKeyOnDelete(HKEY root, const std::string &path);

}  // namespace winsim
