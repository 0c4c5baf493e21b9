// Ready-made actions for the idle script: what a user or the system does
// while the program waits in its message loop.
#include "core/component.h"
#include "windows/window_state.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

HWND RequireProgramWindow(const std::string &className) {
  HWND window = FindProgramWindow(className);
  if (!window) throw MessageLoopStarved{"idle action: the program has no window of class " + className};
  return window;
}

}  // namespace

IdleAction PostToProgramWindow(const std::string &className, UINT message, WPARAM wParam, LPARAM lParam) {
  return [=] { PostMessageA(RequireProgramWindow(className), message, wParam, lParam); };
}

IdleAction PostMenuCommand(const std::string &className, WORD commandId) {
  return PostToProgramWindow(className, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

IdleAction CloseProgramWindow(const std::string &className) { return PostToProgramWindow(className, WM_CLOSE); }

IdleAction ChangeDisplayMode(int width, int height, int bitsPerPixel) {
  return [=] {
    SetScreen(width, height);
    std::vector<HWND> topLevel;
    {
      std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
      topLevel = detail::Windows().topLevel;
    }
    for (HWND window : topLevel)
      if (IsWindow(window))
        SendMessageA(window, WM_DISPLAYCHANGE, static_cast<WPARAM>(bitsPerPixel), MAKELPARAM(width, height));
  };
}

}  // namespace winsim
