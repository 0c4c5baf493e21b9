// Makes a key of the current user workable for the elevated reset: inheritance
// back on, the current user as owner, and one inheritable full-access rule for
// that user as the key's access list. Reports nothing.
#pragma once

#include <string>

// The key named by `rootName`, a backslash and `keyPath` (for instance
// "HKEY_CURRENT_USER" and "Control Panel\Appearance").
void RepairKeyAccess(const std::string &rootName, const std::string &keyPath);
