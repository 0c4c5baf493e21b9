// The number of items the list view holds, read once per pass.
#pragma once

#include <windows.h>

// 0 when the view answers 0 or less.
int ReadItemCount(HWND view);
