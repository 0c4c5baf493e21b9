// Registry links met on the way of the reset. The reset runs elevated on keys
// that the user controls: a link key there must never lead it to write,
// repair or delete a key elsewhere. Keys are therefore opened one at a time,
// each relative to the one before and without following a link, and asked on
// their own handle whether they are links; a link key is removed itself.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_view.h"
#include "common/unique_any.h"

enum class KeyLinkState {
  NoLink,   // every key of the path exists and none is a link
  Link,     // one key of the path is a link
  Missing,  // a key of the path does not exist (and none before it is a link)
  Unknown,  // a key of the path could not be opened or examined
};

// What a walk along a key path found.
struct KeyPathState {
  KeyLinkState state = KeyLinkState::NoLink;
  // Whether the state is that of the path's last key.
  bool atLastKey = true;
  // The code of the call that stopped the walk; ERROR_ACCESS_DENIED for a link.
  LONG error = ERROR_SUCCESS;
};

// Opens `path` under `key` one key at a time, from the first to the last,
// each relative to the handle of the one before and with REG_OPTION_OPEN_LINK,
// and stops at the first key that is not a plain existing key. With `create`
// missing keys are created on the way. Every key is opened with
// KEY_QUERY_VALUE, the last one with `access` besides; its handle is handed
// out in `opened` when the whole path is plain (NoLink), else `opened` is empty.
KeyPathState OpenKeyPath(RegistryView view, HKEY key, const std::string &path, REGSAM access, bool create,
                         UniqueRegKey &opened);

// Deletes the link key `subkey` itself (opened with REG_OPTION_OPEN_LINK,
// deleted through ntdll's NtDeleteKey), never its target. Win32 error code;
// 127 where ntdll lacks the function.
LONG DeleteRegLink(RegistryView view, HKEY key, const std::string &subkey);
