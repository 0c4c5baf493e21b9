// kernel32: whether a file exists, by its attributes.
#pragma once

#include "win/basetypes.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
DWORD WINAPI GetFileAttributesA(LPCSTR fileName);
