// ntdll's status translation, which the programs look up at run time:
// declared for the lookup's type.
#pragma once

#include <windows.h>

ULONG WINAPI RtlNtStatusToDosError(LONG status);
