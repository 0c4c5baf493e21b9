// The share-level access lists of svrapi.dll (Windows 9x family), which the
// security layer looks up at run time; the SDK's headers do not declare them
// in this form. (advapi32's named-object functions are in <aclapi.h>.)
#pragma once

#include <aclapi.h>
#include <windows.h>

unsigned WINAPI NetAccessGetInfo(const char *server, char *resource, short level, char *buffer,
                                 unsigned short bufferSize, unsigned short *totalAvailable);
unsigned WINAPI NetAccessDel(const char *server, char *resource);
unsigned WINAPI NetAccessAdd(const char *server, short level, char *buffer, unsigned short bufferSize);
