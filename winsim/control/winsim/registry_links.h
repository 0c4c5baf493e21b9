// Test-facing control of registry links: a link key whose "SymbolicLinkValue"
// names another key, as REG_OPTION_CREATE_LINK makes one on Windows.
#pragma once

#include <string>

#include <windows.h>

namespace winsim {

// Creates the link key `path` under `root`, leading to `targetPath` under
// `targetRoot` (HKEY_LOCAL_MACHINE or HKEY_USERS, the roots a native name
// reaches). The target need not exist.
void CreateRegistryLink(HKEY root, const std::string &path, HKEY targetRoot, const std::string &targetPath);
// True when the key (not followed) exists and is a link.
bool IsRegistryLink(HKEY root, const std::string &path);

}  // namespace winsim
