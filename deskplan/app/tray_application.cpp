#include "deskplan/app/tray_application.h"

#include <windows.h>

#include "common/unique_any.h"

#include "common/os_error.h"
#include "deskplan/app/command_line_switches.h"
#include "deskplan/app/desktop_wait.h"
#include "deskplan/app/enciphered_constants.h"
#include "deskplan/app/icon_name_protection.h"
#include "deskplan/app/option_store.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"
#include "deskplan/app/tray_icon.h"
#include "deskplan/app/tray_window.h"
#include "deskplan/layout/layout_command.h"
#include "deskplan/layout/layout_name.h"

namespace {

HWND CreateHiddenWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TrayWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTrayWindowClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, kTrayWindowClass, kProgramName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

void RunMessageLoop() {
  MSG message;
  // GetMessageA answers -1 on failure: that ends the loop too.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

namespace {

// Only a key the registry says does not exist is missing: a key that cannot
// be opened for another reason may hold the user's layout.
bool LayoutKeyMissing(const std::string &path) {
  HKEY opened = nullptr;
  LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &opened);
  UniqueRegKey key(result == ERROR_SUCCESS ? opened : nullptr);
  return result == ERROR_FILE_NOT_FOUND;
}

}  // namespace

void EnsureCurrentLayoutSaved() {
  if (!LayoutKeyMissing(LayoutKeyPath(GetLayoutName()))) return;
  try {
    RunLayoutCommand(kSaveLayout);
  } catch (const OsError &error) {
    // The first layout could not be taken: the user is told, the tray goes on.
    ShowApplicationErrorBox(error);
  }
}

int RunTrayApplication() {
  desktopHostClass = DecipherString(DesktopHostClassConstant);
  WriteRegString(HKEY_CURRENT_USER, ProductKeyPath, "Version", "4.2.0.0");
  ReadOptions();
  if (FindWindowA(kTrayWindowClass, nullptr))
    ShowNotice(
        "Deskplan est déjà actif dans la barre des tâches (systray).\r\n"
        "Cliquez sur son icône pour ouvrir le menu des options.",
        MB_ICONINFORMATION, true);
  const CommandLineOutcome commandLine = ProcessCommandLine();
  if (commandLine.actionRan) return commandLine.failed ? 1 : 0;
  // Whatever ends the tray's run, the icon leaves the notification area first.
  TrayIconScope trayIcon;
  HWND window = CreateHiddenWindow();
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);
  if (AppOptions.protectIconNames) ApplyIconNameProtection(false);
  // At log-on the shell may not have made its desktop yet, or still be
  // filling it: the first layout and the start-up restore wait for it.
  unsigned work = 0;
  if (LayoutKeyMissing(LayoutKeyPath(GetLayoutName()))) work |= kWorkSaveFirstLayout;
  if (AppOptions.restoreAtStartup) work |= kWorkRestoreAtStartup;
  if (work) AwaitSettledDesktop(window, kDesktopStartSettling, work | kWorkReapplyProtection);
  RunMessageLoop();
  desktopHostClass.clear();
  return 0;
}
