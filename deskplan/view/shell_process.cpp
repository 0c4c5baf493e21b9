#include "deskplan/view/shell_process.h"

bool IsInShellProcess(HWND window) {
  HWND shell = GetShellWindow();
  if (!shell || !window) return false;
  DWORD shellProcess = 0;
  DWORD windowProcess = 0;
  if (!GetWindowThreadProcessId(shell, &shellProcess) || !GetWindowThreadProcessId(window, &windowProcess))
    return false;
  return shellProcess != 0 && shellProcess == windowProcess;
}
