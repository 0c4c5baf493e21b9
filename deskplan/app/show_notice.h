// Deskplan's message box: no owner, the program's name as caption, nothing
// shown in quiet mode, and optionally the end of the program afterwards.
#pragma once

#include <windows.h>

void ShowNotice(const char *text, UINT boxType, bool endProgram);
