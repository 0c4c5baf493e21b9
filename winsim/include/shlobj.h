// The shell's namespace API, as far as the programs use it.
#pragma once

#include <objbase.h>
#include <shobjidl.h>

#define CSIDL_DESKTOP 0x0000
