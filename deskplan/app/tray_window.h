// The hidden window's procedure.
#pragma once

#include <windows.h>

// The class and title of the hidden window; a second start finds it by class.
extern const char kTrayWindowClass[];

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
