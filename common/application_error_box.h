// The run time's top-level error box, shared by both programs: it names the
// exception, the program's file and the address that raised it.
#pragma once

#include <string>

// "Exception <type> dans le module <file> dans <address>.\r\n<text>[.]\r\n"
std::string ApplicationErrorText(const char *exceptionName, const void *raisedAt, const std::string &text);
void ShowApplicationErrorText(const std::string &text);
