// Registry links met on the way of the reset. The reset runs elevated on keys
// that the user controls: a link key there must never lead it to repair or
// delete a key elsewhere, so keys are examined without following links, and a
// link key is removed itself.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_view.h"

enum class KeyLinkState {
  NoLink,   // every key of the path exists and none is a link
  Link,     // one key of the path is a link
  Missing,  // a key of the path does not exist (and none before it is a link)
  Unknown,  // a key of the path could not be examined (its access is refused)
};

// Examines each key along `path` under `key`, from the first to the last,
// and stops at the first that is not a plain existing key; `atLastKey` tells
// whether that was the last key of the path.
KeyLinkState ExamineKeyPath(RegistryView view, HKEY key, const std::string &path, bool *atLastKey = nullptr);

// Deletes the link key `subkey` itself (opened with REG_OPTION_OPEN_LINK,
// deleted through ntdll's NtDeleteKey), never its target. Win32 error code;
// 127 where ntdll lacks the function.
LONG DeleteRegLink(RegistryView view, HKEY key, const std::string &subkey);
