// The application error box that ends Cleanslate when a ResetError reaches
// the program entry.
#pragma once

#include <string>

#include "cleanslate/reset_error.h"

// "Exception ResetError dans le module <file> dans <address>.\r\n<text>[.]\r\n"
std::string ResetErrorText(const ResetError &error);
void ShowResetErrorBox(const ResetError &error);
