// Deskplan's Windows entry: everything else runs in RunDeskplan, so native
// tests can run the whole program in-process.
#include <windows.h>

#include "common/version_gate.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return deskplan::IsLegacyWindows() ? 0 : 0; }
