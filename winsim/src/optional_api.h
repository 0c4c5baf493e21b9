// Functions that exist only on some Windows versions. The programs reach them
// through GetProcAddress; the simulated machine implements them here.
#pragma once

#include <windows.h>
