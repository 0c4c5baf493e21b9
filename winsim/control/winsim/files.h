// Test-facing control of the file system: each drive letter stands for a
// folder of the Linux file system, and Windows paths are mapped onto it.
// Drive C: is, unless set, a scratch folder made once per test process and
// removed when the process ends; it holds the default documents folder
// "C:\Users\Marie\Documents", the program's folder "C:\Program Files\Deskplan"
// and "C:\WINDOWS\system32". Paths that start with a backslash are on the
// current drive, C:, and so are relative paths (the current directory is its
// root). Folder and file names are found without regard to ASCII letter case,
// as on Windows; new names are created as given.
#pragma once

#include <string>

namespace winsim {

// Drive `letter` (A to Z) is the Linux folder `hostFolder`, which must exist.
void MapDrive(char letter, const std::string &hostFolder);

// The Linux path a Windows path names (the file need not exist), or the
// empty string when the path is malformed or its drive is not mapped.
std::string HostPath(const std::string &windowsPath);

// Files the program holds open through CreateFileA.
int OpenFileCount();

}  // namespace winsim
