#include "tray_commands.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "own_relayout.h"

namespace testshell {
namespace {

const UINT kCancelEditLabel = LVM_FIRST + 179;  // LVM_CANCELEDITLABEL

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
         " " + std::to_string(rect.bottom - rect.top);
}

std::string MenuLine() {
  HWND menu = FindWindowA("#32768", nullptr);
  if (menu == nullptr || !IsWindowVisible(menu)) return "error no-menu";
  RECT rect = {};
  GetWindowRect(menu, &rect);
  return "menu " + RectText(rect);
}

std::string Untray() {
  HWND tray = FindWindowA("Deskplan", nullptr);
  if (tray == nullptr) return "error no-tray";
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = tray;
  data.uID = 1;
  return Shell_NotifyIconA(NIM_DELETE, &data) ? "ok" : "error not-removed";
}

std::string EditLabel(const ShellDesktop& desktop, int index) {
  HWND list = desktop.ListView();
  SetFocus(list);
  HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(index), 0));
  if (edit == nullptr) return "editlabel refused";
  SendMessageA(list, kCancelEditLabel, 0, 0);
  return "editlabel started";
}

bool ToInt(const std::string& text, int& value) {
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

bool RunTrayCommand(const ShellDesktop& desktop, const std::vector<std::string>& words, std::string& reply) {
  const std::string& name = words[0];
  int first = 0;
  int second = 0;
  if (name == "menu" && words.size() == 1) {
    reply = MenuLine();
  } else if (name == "untray" && words.size() == 1) {
    reply = Untray();
  } else if (name == "broadcast" && words.size() == 2) {
    const UINT message = RegisterWindowMessageA(words[1].c_str());
    PostMessageA(HWND_BROADCAST, message, 0, 0);
    char text[16];
    std::snprintf(text, sizeof text, "ok 0x%04X", message);
    reply = text;
  } else if (name == "displaychange" && words.size() == 3 && ToInt(words[1], first) && ToInt(words[2], second)) {
    HWND tray = FindWindowA("Deskplan", nullptr);
    if (tray == nullptr) {
      reply = "error no-tray";
    } else {
      PostMessageA(tray, WM_DISPLAYCHANGE, 32, MAKELPARAM(first, second));
      reply = "ok";
    }
    // The shell's own re-layout follows the screen, whoever else listens.
    ScheduleOwnRelayout();
  } else if (name == "editlabel" && words.size() == 2 && ToInt(words[1], first)) {
    reply = EditLabel(desktop, first);
  } else {
    return false;
  }
  return true;
}

}  // namespace testshell
