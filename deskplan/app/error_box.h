// The application error box for a restore that broke off with an OsError.
#pragma once

#include "deskplan/app/os_error.h"

void ShowApplicationErrorBox(const OsError &error);

// "Exception <type> dans le module <file> dans <address>.\r\n<text>[.]\r\n"
std::string ApplicationErrorText(const OsError &error);
