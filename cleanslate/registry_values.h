// Writing one value given as a value path: the key path, a backslash, the
// value name. The key is created when missing. Neither the key nor one on its
// way is followed when it is a link: such a write fails with
// ERROR_ACCESS_DENIED and touches nothing.
#pragma once

#include <string>

#include <windows.h>

#include "cleanslate/registry_view.h"

// 1-based position of the last `c` in `text`; 0 when there is none.
std::size_t LastCharPos(char c, const std::string &text);

// The Win32 error code of the write: ERROR_INVALID_PARAMETER for a path
// without a backslash (nothing is touched), else that of the key's creation
// or of the value's write; 0 when the value was set.
LONG WriteRegValue(RegistryView view, HKEY root, const std::string &valuePath, DWORD type, const void *data,
                   DWORD size);
LONG WriteRegDword(RegistryView view, HKEY root, const std::string &valuePath, DWORD value);
LONG WriteRegString(RegistryView view, HKEY root, const std::string &valuePath, const std::string &text);

// As above, answering whether the value was set.
// False when the path has no backslash (nothing is touched), when the key
// cannot be created or opened, or when the value cannot be written.
bool SetRegValue(RegistryView view, HKEY root, const std::string &valuePath, DWORD type, const void *data,
                 DWORD size);
// REG_DWORD, 4 bytes.
bool SetRegDword(RegistryView view, HKEY root, const std::string &valuePath, DWORD value);
// REG_SZ with its terminating zero (the empty text is one zero byte).
bool SetRegString(RegistryView view, HKEY root, const std::string &valuePath, const std::string &text);
