// The question asked before a stored layout is replaced.
#pragma once

#include <string>

// True when the layout may be replaced: always in quiet mode, otherwise when
// the user answers Yes.
bool ConfirmOverwrite(const std::string &layoutName);
