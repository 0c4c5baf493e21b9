// Reaching a key for its access repair without ever following a link: the
// key is opened as it is, relative to keys opened the same way, and the repair
// then works through that handle. A key that refuses even that is first
// repaired through handles of its own.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_links.h"
#include "cleanslate/registry_view.h"
#include "common/unique_any.h"

// The current user becomes the owner of `subkey` of `key` and gets the one
// inheritable full-access rule, through handles opened on that key itself
// (REG_OPTION_OPEN_LINK, the keys on its way opened as in OpenKeyPath); true
// when both were written.
bool RepairKeyItself(RegistryView view, HKEY key, const std::string &subkey);

// Opens `path` under `key` as OpenKeyPath does, the last key with the rights
// its access repair needs. A last key that refuses them is repaired through
// itself first, and failing that opened without them (the repair through the
// handle then fails quietly). `checked` holds the key when the state is NoLink.
KeyPathState OpenKeyForRepair(RegistryView view, HKEY key, const std::string &path, UniqueRegKey &checked);
