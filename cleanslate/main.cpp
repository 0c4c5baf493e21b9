// Cleanslate's Windows entry: everything runs in RunCleanslate, so native
// tests can run the whole program in-process.
#include <windows.h>

#include "cleanslate/reset_procedure.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunCleanslate(); }
