// Deleting a key with all its subkeys, deepest first, repairing each key's
// access before listing its subkeys.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_view.h"

// The result of the latest key deletion the tree walk made, at any depth;
// while it is not 0, the walk neither repairs nor descends.
extern LONG LastDeleteResult;

// Program start: LastDeleteResult back to 0, the platform id noted (the walk
// repairs and descends on the NT family only), RegDeleteKeyExA forgotten.
void StartRegistryRun();

// Deletes `subkey` of `key` with its whole tree. Answers the Win32 error code
// of the deletion of `subkey` itself.
// Links are never followed: each key is opened as it is, relative to its
// parent opened the same way, and its access repair and the listing of its
// subkeys work through that handle. A link key in the tree is removed itself,
// without repair or descent, and so is a key that cannot be examined.
LONG DeleteRegTree(RegistryView view, HKEY key, const std::string &subkey);
