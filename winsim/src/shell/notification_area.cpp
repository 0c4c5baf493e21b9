// Shell_NotifyIconA: the taskbar's notification area, one entry per window
// and id, and what the shell does when it starts again or is clicked.
#include <algorithm>
#include <cstring>
#include <shellapi.h>

#include "core/component.h"
#include "core/trace.h"
#include "shell/shell_state.h"

using namespace winsim::detail;

namespace {

const char *MessageName(DWORD message) {
  switch (message) {
    case NIM_ADD:
      return "NIM_ADD";
    case NIM_MODIFY:
      return "NIM_MODIFY";
    case NIM_DELETE:
      return "NIM_DELETE";
    default:
      return "?";
  }
}

// A first-version record holds a tip of 64 characters, later ones 128.
std::string TipOf(const NOTIFYICONDATAA &data) {
  size_t limit = data.cbSize < offsetof(NOTIFYICONDATAA, dwState) ? 64 : 128;
  return std::string(data.szTip, strnlen(data.szTip, limit - 1));
}

void Apply(winsim::NotificationIcon &icon, const NOTIFYICONDATAA &data) {
  if (data.uFlags & NIF_MESSAGE) icon.callbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) icon.icon = data.hIcon;
  if (data.uFlags & NIF_TIP) icon.tip = TipOf(data);
  icon.flags |= data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  icon.recordSize = data.cbSize;
}

}  // namespace

BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("Shell_NotifyIconA", MessageName(message));
  if (unsigned fault = InjectedFault("Shell_NotifyIconA")) {
    SetLastError(fault);
    return FALSE;
  }
  // The shell reads no record smaller than the first version's.
  if (!data || data->cbSize < NOTIFYICONDATAA_V1_SIZE) return FALSE;
  auto &icons = Shell().notificationIcons;
  auto found = std::find_if(icons.begin(), icons.end(), [&](const winsim::NotificationIcon &icon) {
    return icon.window == data->hWnd && icon.id == data->uID;
  });
  switch (message) {
    case NIM_ADD: {
      if (found != icons.end()) return FALSE;
      winsim::NotificationIcon icon;
      icon.window = data->hWnd;
      icon.id = data->uID;
      Apply(icon, *data);
      icons.push_back(icon);
      return TRUE;
    }
    case NIM_MODIFY:
      if (found == icons.end()) return FALSE;
      Apply(*found, *data);
      return TRUE;
    case NIM_DELETE:
      if (found == icons.end()) return FALSE;
      icons.erase(found);
      return TRUE;
    default:
      return FALSE;
  }
}

namespace winsim {

std::vector<NotificationIcon> NotificationIcons() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Shell().notificationIcons;
}

IdleAction ClickNotificationIcon(UINT mouseMessage, UINT id) {
  return [=] {
    NotificationIcon target;
    bool present = false;
    for (const auto &icon : NotificationIcons())
      if (icon.id == id && (icon.flags & NIF_MESSAGE)) {
        target = icon;
        present = true;
      }
    if (!present || !IsWindow(target.window))
      throw MessageLoopStarved{"no notification icon " + std::to_string(id) + " to click"};
    PostMessageA(target.window, target.callbackMessage, target.id, static_cast<LPARAM>(mouseMessage));
  };
}

IdleAction RestartShellTaskbar() {
  return [] {
    {
      std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
      detail::Shell().notificationIcons.clear();
    }
    BroadcastRegisteredMessage("TaskbarCreated")();
  };
}

}  // namespace winsim
