#include "deskplan/app/tray_window.h"

#include <exception>

#include "common/os_error.h"
#include "deskplan/app/desktop_wait.h"
#include "deskplan/app/icon_name_protection.h"
#include "deskplan/app/menu_commands.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/tray_icon.h"
#include "deskplan/app/tray_menu.h"

const char kTrayWindowClass[] = "Deskplan";

namespace {

LRESULT HandleTrayMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The shell started anew (after it ended, for instance): its notification
  // area is empty, so the icon goes in again, and its new desktop view lets
  // icons be renamed until the protection chosen is applied to it.
  // The new desktop comes in the shell's own arrangement: once it is filled,
  // the layout goes back when restores are automatic.
  if (message != 0 && message == TaskbarCreatedMessage) {
    AddTrayIconAgain();
    if (AppOptions.protectIconNames) ApplyIconNameProtection(false);
    if (AppOptions.autoRestore)
      AwaitSettledDesktop(window, kDesktopStartSettling, kWorkAutomaticRestore | kWorkReapplyProtection);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_CREATE:
      RegisterTaskbarCreatedMessage();
      AddTrayIcon(window);
      break;
    case WM_DESTROY:
      CancelDesktopWait(window);
      RemoveTrayIcon();
      PostQuitMessage(0);
      if (HWND programManager = FindWindowA("Progman", nullptr)) ShowWindow(programManager, SW_RESTORE);
      break;
    case WM_DISPLAYCHANGE:
      // The shell lays the icons out again for the new size: the restore
      // waits until it has done so.
      if (AppOptions.autoRestore) AwaitSettledDesktop(window, kDisplayChangeSettling, kWorkAutomaticRestore);
      break;
    case WM_TIMER:
      if (wParam == kDesktopWaitTimer) {
        PollDesktopWait(window);
        return 0;
      }
      break;
    case WM_COMMAND:
      HandleMenuCommand(window, LOWORD(wParam));
      return 0;
    case WM_TRAYNOTIFY:
      if (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN) OpenTrayMenu(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// No C++ exception may unwind through the system's message dispatch: a
// restore that breaks off is reported here and the tray stays.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleTrayMessage(window, message, wParam, lParam);
  } catch (const OsError &error) {
    ShowApplicationErrorBox(error);
  } catch (const std::exception &) {
    // Out of memory while building a text: the message is dropped.
  }
  return message == WM_COMMAND ? 0 : DefWindowProcA(window, message, wParam, lParam);
}
