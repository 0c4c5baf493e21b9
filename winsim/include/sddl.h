// advapi32: SIDs in their "S-1-..." text form.
#pragma once

#include <windows.h>

BOOL WINAPI ConvertSidToStringSidA(PSID sid, LPSTR *text);
BOOL WINAPI ConvertStringSidToSidA(LPCSTR text, PSID *sid);
