// Makes a key of the current user workable for the elevated reset: inheritance
// back on, the current user as owner, and one inheritable full-access rule for
// that user as the key's access list. Reports nothing.
#pragma once

#include <windows.h>

// The key behind `key`, a handle opened on the key as it is (see
// OpenKeyForRepair): the repair reaches no other key, whatever its name
// leads to meanwhile. Each step needs its right on the handle (READ_CONTROL,
// WRITE_DAC, WRITE_OWNER); one that is missing makes that step fail quietly.
void RepairKeyAccess(HKEY key);
