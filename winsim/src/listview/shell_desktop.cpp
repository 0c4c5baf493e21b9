// A whole shell desktop in one call: the shell process and its window tree.
#include "winsim/desktop.h"
#include "winsim/windows.h"

namespace winsim {

namespace {
const DWORD kChildStyle = 0x40000000 | 0x10000000;     // WS_CHILD | WS_VISIBLE
const DWORD kTopLevelStyle = 0x80000000 | 0x10000000;  // WS_POPUP | WS_VISIBLE

HWND AddShellWindow(const char *className, const char *title, HWND parent, DWORD processId) {
  ForeignWindow window;
  window.className = className;
  window.title = title;
  window.parent = parent;
  window.processId = processId;
  window.style = static_cast<LONG>(parent ? kChildStyle : kTopLevelStyle);
  return AddForeignWindow(window);
}
}  // namespace

ShellDesktop BuildShellDesktop(const ShellDesktopSetup &setup) {
  ShellDesktop desktop;
  desktop.processId = AddProcess("explorer.exe", setup.shellKind);
  desktop.progman = AddShellWindow("Progman", "Program Manager", nullptr, desktop.processId);
  RegisterShellWindow(desktop.progman);
  HWND host = desktop.progman;
  if (setup.host == DesktopHost::WorkerW) {
    AddShellWindow("WorkerW", "", nullptr, desktop.processId);
    desktop.workerW = AddShellWindow("WorkerW", "", nullptr, desktop.processId);
    host = desktop.workerW;
  }
  desktop.shellView = AddShellWindow("SHELLDLL_DefView", "", host, desktop.processId);
  desktop.listView = AddShellListView(desktop.shellView, desktop.processId, setup.icons, setup.listViewStyle);
  return desktop;
}

}  // namespace winsim
