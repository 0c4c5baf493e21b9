// The access repair of one key itself, through handles opened on that key
// with REG_OPTION_OPEN_LINK: a link is never followed. Used where a key
// refuses even the reading of its values, so that it cannot be told whether
// it is a link before it is repaired.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_view.h"

// The current user becomes the owner of `subkey` of `key` and gets the one
// inheritable full-access rule; true when both were written.
bool RepairKeyItself(RegistryView view, HKEY key, const std::string &subkey);
