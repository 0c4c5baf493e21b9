// Splits a Windows command line the way both programs read it: characters 1 to
// 32 separate arguments, a double quote toggles quoting and is dropped, and a
// backslash is an ordinary character.
#pragma once

#include <string>
#include <vector>

// The arguments after the program name.
std::vector<std::string> CommandArguments(const char *commandLine);
