// The popup menu of the tray icon, built anew each time it opens.
#pragma once

#include <windows.h>

#include "common/unique_any.h"

// The fifteen positions, texts and check marks as the options stand now.
UniqueMenu BuildTrayMenu();

// Shows the menu at the cursor, owned by the hidden window; the chosen
// command arrives later as WM_COMMAND. The menu is destroyed afterwards.
void OpenTrayMenu(HWND window);
