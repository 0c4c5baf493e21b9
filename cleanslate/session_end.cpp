#include "cleanslate/session_end.h"

#include <windows.h>

void EndSession() { ExitWindowsEx(EWX_LOGOFF, 0); }
