#include "deskplan/app/tray_window.h"

#include "deskplan/app/error_box.h"
#include "deskplan/app/program_state.h"
#include "deskplan/layout/layout_command.h"

const char kTrayWindowClass[] = "Deskplan";

namespace {

// No C++ exception may unwind through the system's message dispatch: a
// restore that breaks off is reported here and the tray stays.
void RunLayoutCommandFromWindow(LayoutMode mode) {
  try {
    RunLayoutCommand(mode);
  } catch (const OsError &error) {
    ShowApplicationErrorBox(error);
  }
}

}  // namespace

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      if (HWND programManager = FindWindowA("Progman", nullptr)) ShowWindow(programManager, SW_RESTORE);
      break;
    case WM_DISPLAYCHANGE:
      if (AppOptions.autoRestore) RunLayoutCommandFromWindow(kRestoreLayout);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
