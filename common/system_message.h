// The system's text for an error code, the one FormatMessageA call of both
// programs.
#pragma once

#include <string>

#include <windows.h>

// FormatMessageA with `flags` (FORMAT_MESSAGE_FROM_SYSTEM and the like) into a
// buffer of `capacity` characters (a longer text is not given), cut after its
// last character that is no control character, space or full stop. Empty
// when the system has no text for the code.
std::string SystemMessageWithoutStops(DWORD code, DWORD flags, DWORD capacity);
// The same however long the text is, the system allocating its room;
// `module` adds its message table, `language` is FormatMessageA's.
std::string SystemMessage(DWORD code, DWORD flags, HMODULE module, DWORD language);
