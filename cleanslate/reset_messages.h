// Everything Cleanslate tells the user, in Windows-1252, and how it shows it:
// message boxes without an owner, captioned "Cleanslate".
#pragma once

#include <string>

#include <windows.h>

extern const char kResetCaption[];
extern const char kConfirmationText[];
extern const char kSystemTooOldText[];
extern const char kResetSuccessText[];
extern const char kShellNotEndedText[];

// "La réinitialisation a échoué avec le status :\r\n" and the system's text
// for the code, without trailing control characters, spaces or full stops.
std::string ResetFailureText(DWORD code);

// MessageBoxA(NULL, text, "Cleanslate", style); the button pressed.
int ShowResetBox(const std::string &text, UINT style);
