// Whether a window belongs to the running shell: the process that registered
// the shell window. Only that process's desktop has the folder view through
// which the shell takes icon places into its own record.
#pragma once

#include <windows.h>

bool IsInShellProcess(HWND window);
