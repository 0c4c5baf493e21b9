// Deskplan's Windows entry: everything runs in RunDeskplan, so native tests
// can run the whole program in-process.
#include <windows.h>

#include "deskplan/app/deskplan_entry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunDeskplan(); }
