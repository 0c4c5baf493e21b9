// String functions of kernel32 and user32 that follow the system's rules.
#pragma once

#include "win/basetypes.h"

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400
#define NORM_IGNORECASE 0x00000001
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3
#define CP_ACP 0
#define LCMAP_SORTKEY 0x00000400

// Upper-cases in place by the user's locale (Windows-1252 rules here).
DWORD WINAPI CharUpperBuffA(LPSTR text, DWORD length);
DWORD WINAPI CharLowerBuffA(LPSTR text, DWORD length);
int WINAPI CompareStringA(DWORD locale, DWORD flags, LPCSTR text1, int length1, LPCSTR text2, int length2);
// With LCMAP_SORTKEY: the sort key of the text, bytes that compare equal
// exactly when CompareStringA with the same flags answers CSTR_EQUAL. Answers
// the bytes written (the terminating zero included), or the size needed when
// `destinationLength` is 0. Other mappings are not modelled.
int WINAPI LCMapStringA(DWORD locale, DWORD flags, LPCSTR source, int sourceLength, LPSTR destination,
                        int destinationLength);
int WINAPI lstrlenA(LPCSTR text);
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int wideLength);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR text, int length,
                               LPCSTR defaultChar, LPBOOL usedDefault);
