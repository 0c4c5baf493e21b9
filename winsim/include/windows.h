// The simulated machine's <windows.h>: the parts of the Windows API that the
// programs use, with Windows semantics, for native builds and tests.
#pragma once

#include "win/basetypes.h"
#include "win/errors.h"
#include "win/file_attributes.h"
#include "win/files.h"
#include "win/kernel.h"
#include "win/menus.h"
#include "win/metrics.h"
#include "win/registry.h"
#include "win/registry_links.h"
#include "win/security.h"
#include "win/process.h"
#include "win/process_end.h"
#include "win/strings.h"
#include "win/sync.h"
#include "win/sysinfo.h"
#include "win/user.h"
#include "win/optional.h"
