// The file-system path of one of the shell's special folders.
#pragma once

#include <string>

// The path the shell gives for the folder (CSIDL_PERSONAL and the like), or
// the empty string when the shell cannot say.
std::string GetSpecialFolderPath(int csidl);
