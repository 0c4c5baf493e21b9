// Shell service identifiers.
#pragma once

#include <objbase.h>

extern const GUID SID_STopLevelBrowser;
