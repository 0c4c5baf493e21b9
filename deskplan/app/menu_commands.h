// The tray menu's commands and what each one does.
#pragma once

#include <string>

#include <windows.h>

enum MenuCommand : WORD {
  CMD_ABOUT = 65,
  CMD_SAVE = 69,
  CMD_HELP = 73,
  CMD_WEBSITE = 78,
  CMD_PROTECTION = 80,
  CMD_QUIT = 81,
  CMD_RESTORE = 82,
  CMD_STARTUP = 83,
  CMD_AUTOMATIC = 84,
};

// Carries out one command of the menu; an unknown id does nothing. A restore
// that breaks off raises OsError to the caller.
void HandleMenuCommand(HWND window, WORD commandId);

// The help file, by its full path in the program's own folder: "Deskplan.chm",
// or on legacy systems "Deskplan.hlp" when that file is there.
std::string HelpFilePath();
