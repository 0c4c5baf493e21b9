// The system's text for an error code, the one FormatMessageA call of both
// programs.
#pragma once

#include <string>

#include <windows.h>

// FormatMessageA with `flags` (FORMAT_MESSAGE_FROM_SYSTEM and the like) into a
// buffer of `capacity` characters: a longer text is not given. Empty when the
// system has no text for the code.
std::string SystemMessage(DWORD code, DWORD flags, DWORD capacity);
// The same however long the text is, the system allocating its room;
// `module` adds its message table, `language` is FormatMessageA's.
std::string SystemMessage(DWORD code, DWORD flags, HMODULE module, DWORD language);

// The text without its trailing control characters, spaces and full stops.
std::string WithoutTrailingStops(std::string text);
