// Deskplan's program-wide state: the option flags, the class name of a window
// that can host the desktop, and the desktop list view the last command found;
// and its message box, which the quiet flag silences.
#pragma once

#include <string>

#include <windows.h>

struct AppOptionFlags {
  bool autoRestore = true;
  bool restoreAtStartup = false;
  bool protectIconNames = false;
  bool quiet = false;
  bool legacyMode = false;
};

// "Deskplan": the caption of every box, the tray tip and the window's title.
extern const char kProgramName[];

extern AppOptionFlags AppOptions;
extern std::string desktopHostClass;
extern HWND DesktopListView;
// Whether the desktop list view now refuses renaming because of this program:
// what the menu shows, which may differ from protectIconNames (the user's
// choice) while the view cannot be found or changed.
extern bool protectionInForce;

// Back to the values the program starts with (the entry does this first, and
// so do the tests between runs).
void ResetProgramState();

// Deskplan's message box: no owner, the program's name as caption, nothing
// shown in quiet mode, and optionally the end of the program afterwards.
void ShowNotice(const char *text, UINT boxType, bool endProgram);
