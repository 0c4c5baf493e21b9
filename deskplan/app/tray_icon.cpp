#include "deskplan/app/tray_icon.h"

#include <cstring>

#include "common/unique_any.h"
#include "deskplan/app/program_state.h"

NOTIFYICONDATAA TrayIconData;
UINT TaskbarCreatedMessage = 0;

namespace {

// The first version of the record, the one every shell reads: 88 bytes in a
// 32-bit program, and the same fields at their 64-bit places in a 64-bit one.
static_assert(sizeof(void *) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the 32-bit record is 88 bytes");

UniqueIcon trayIconImage;
bool trayIconFilled = false;

}  // namespace

void AddTrayIcon(HWND window) {
  std::memset(&TrayIconData, 0, sizeof TrayIconData);
  TrayIconData.cbSize = static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE);
  TrayIconData.hWnd = window;
  TrayIconData.uID = 1;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = WM_TRAYNOTIFY;
  trayIconImage.Reset(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "MAINICON9x", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
  TrayIconData.hIcon = trayIconImage.Get();
  std::strcpy(TrayIconData.szTip, kProgramName);
  trayIconFilled = true;
  Shell_NotifyIconA(NIM_ADD, &TrayIconData);
}

void AddTrayIconAgain() {
  if (trayIconFilled) Shell_NotifyIconA(NIM_ADD, &TrayIconData);
}

void RemoveTrayIcon() {
  if (!trayIconFilled) return;
  Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
  trayIconFilled = false;
  TrayIconData.hIcon = nullptr;
  trayIconImage.Reset();
}

void RegisterTaskbarCreatedMessage() { TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated"); }
