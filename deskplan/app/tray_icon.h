// Deskplan's icon in the notification area: one program-wide record, filled
// when the hidden window is created and used again to remove the icon.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The message the shell sends the hidden window for mouse events on the icon.
const UINT WM_TRAYNOTIFY = WM_USER + 100;

extern NOTIFYICONDATAA TrayIconData;

// Fills the record for this window, loads the 16-pixel icon and adds it.
void AddTrayIcon(HWND window);
// Adds the icon again from the record, after the shell has started anew.
void AddTrayIconAgain();
// Removes the icon and releases its image; nothing when it is not there.
void RemoveTrayIcon();

// The number of the shell's "TaskbarCreated" broadcast (0 until registered).
extern UINT TaskbarCreatedMessage;
void RegisterTaskbarCreatedMessage();

// Removes the icon when the tray's run leaves its scope by any path, so that
// an error that ends the program does not leave a dead icon behind.
class TrayIconScope {
 public:
  TrayIconScope() = default;
  ~TrayIconScope() { RemoveTrayIcon(); }
  TrayIconScope(const TrayIconScope &) = delete;
  TrayIconScope &operator=(const TrayIconScope &) = delete;
};
