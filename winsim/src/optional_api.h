// Functions that exist only on some Windows versions. The programs reach them
// through GetProcAddress; the simulated machine implements them. They are
// declared in the public headers, as the SDK declares them.
#pragma once

#include <aclapi.h>
#include <tlhelp32.h>
#include <windows.h>
#include <winternl.h>
