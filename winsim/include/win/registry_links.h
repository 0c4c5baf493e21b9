// advapi32: registry links. A link key holds the native name of its target in
// its REG_LINK value "SymbolicLinkValue"; opening a path through it reaches
// the target unless the last key is opened with REG_OPTION_OPEN_LINK.
#pragma once

#include "win/basetypes.h"

#define REG_OPTION_CREATE_LINK 0x00000002L
#define REG_OPTION_BACKUP_RESTORE 0x00000004L
#define REG_OPTION_OPEN_LINK 0x00000008L
