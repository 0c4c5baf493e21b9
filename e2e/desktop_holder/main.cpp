// Holds the Wine session's desktop for the session's whole life (a test
// program, not a product). Wine ends its desktop process a few seconds after
// the last program with a window; under a 32-bit CPU emulator, the next 32-bit
// program then waits about 10 s for a new desktop. One hidden window keeps the
// desktop up; it ends with the session, at a log-off, or on WM_CLOSE.
#include <windows.h>

namespace {

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_ENDSESSION && wParam) DestroyWindow(window);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HolderProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "DeskplanTestDesktopHolder";
  if (!RegisterClassA(&windowClass)) return 1;
  // Never shown: no test sees it on the screen or in the foreground.
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
