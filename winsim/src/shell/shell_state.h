// What the shell side of the machine keeps: the notification area, popup
// menus and the user's scripted choices, ShellExecuteA calls, files that
// exist, the cursor, the foreground window, registered messages and icons.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "winsim/shell.h"

namespace winsim::detail {

struct MenuRecord {
  std::vector<MenuItem> items;
  int defaultPosition = -1;
};

struct ShellState {
  std::vector<NotificationIcon> notificationIcons;

  std::map<HMENU, MenuRecord> menus;
  std::uintptr_t nextMenu = 0x30010;
  std::deque<UINT> menuChoices;
  std::vector<ShownMenu> shownMenus;

  std::vector<ShellExecuteCall> shellExecuteCalls;
  std::set<std::string> existingFiles;  // upper-cased Windows paths
  std::string currentDirectory = "C:\\WINDOWS\\system32";

  POINT cursor = {640, 1000};
  HWND foreground = nullptr;
  HWND shellWindow = nullptr;  // what the running shell registered

  std::map<std::string, UINT> registeredMessages;  // upper-cased names
  UINT nextRegisteredMessage = 0xC0F0;

  std::vector<IconGroup> iconGroups;
  std::map<HICON, LoadedIcon> icons;
  std::uintptr_t nextIcon = 0x50010;
};

ShellState &Shell();
// Upper case by the Windows-1252 rules, for names compared without regard to case.
std::string UpperName(const std::string &name);

}  // namespace winsim::detail
