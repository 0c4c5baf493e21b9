// Test-facing control of what the program shows the user besides message
// boxes: the taskbar's notification area, popup menus with the user's choice
// scripted, ShellExecuteA, the cursor and foreground window, registered
// messages, and the icon resources of the program's module.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "winsim/windows.h"

namespace winsim {

// One icon of the notification area as the shell keeps it.
struct NotificationIcon {
  HWND window = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::string tip;
  DWORD recordSize = 0;  // cbSize of the record that added it
};

// The icons in the notification area now, in the order they were added.
std::vector<NotificationIcon> NotificationIcons();
// The shell ended and started again: its notification area is empty, and it
// broadcasts "TaskbarCreated" to every top-level window.
IdleAction RestartShellTaskbar();

// The user presses a mouse button on the icon (WM_LBUTTONDOWN, WM_RBUTTONUP
// ...): the shell posts the icon's callback message to its window, with the
// icon's id and the mouse message. Without such an icon the action throws
// MessageLoopStarved, since no user could click it.
IdleAction ClickNotificationIcon(UINT mouseMessage, UINT id = 1);

struct MenuItem {
  UINT flags = 0;  // as appended: MF_STRING, MF_SEPARATOR, MF_CHECKED, MF_GRAYED ...
  UINT_PTR id = 0;
  std::string text;
};

// A popup menu as TrackPopupMenu showed it.
struct ShownMenu {
  std::vector<MenuItem> items;
  int defaultPosition = -1;  // SetMenuDefaultItem by position; -1: none
  UINT flags = 0;
  int x = 0;
  int y = 0;
  HWND owner = nullptr;
  UINT chosen = 0;  // the command the script chose, 0 when dismissed
};

// What the user does with the next popup menus, in order: the command id to
// choose, or 0 to dismiss the menu. With no choice left, menus are dismissed.
// Choosing a grey or absent item dismisses the menu, as a click on it would.
void ChooseMenuCommands(const std::vector<UINT> &commands);
std::vector<ShownMenu> ShownMenus();
// Menus the program created and has not destroyed.
int LiveMenuCount();

struct ShellExecuteCall {
  HWND window = nullptr;
  std::string operation;
  std::string file;
  std::string parameters;
  std::string directory;
  int showCommand = 0;
};
std::vector<ShellExecuteCall> ShellExecuteCalls();
// Files that exist, by full Windows path (compared without regard to case),
// for GetFileAttributesA and ShellExecuteA; a bare name is looked up in the
// current directory ("C:\\WINDOWS\\system32" unless set). Others are not
// found. Addresses with a scheme ("https://...") always open.
void AddExistingFile(const std::string &windowsPath);
void SetCurrentDirectory(const std::string &windowsPath);

void SetCursorPosition(int x, int y);
HWND ForegroundWindow();

// The icon groups of the program's module, by name, each with the sizes of
// its images (square, in pixels). LoadImageA picks the image closest in size.
struct IconGroup {
  std::string name;
  std::vector<int> sizes;
};
void SetProgramIcons(const std::vector<IconGroup> &groups);
struct LoadedIcon {
  HICON handle = nullptr;
  std::string group;
  int size = 0;
};
// Icons loaded and not destroyed.
std::vector<LoadedIcon> LiveIcons();

// Sends a registered message to every top-level window, as the shell does.
IdleAction BroadcastRegisteredMessage(const std::string &name);

}  // namespace winsim
