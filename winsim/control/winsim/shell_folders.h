// Test-facing control of the shell's special folders and of its allocator.
#pragma once

#include <string>

namespace winsim {

// The path SHGetPathFromIDListA gives for the documents folder (CSIDL_PERSONAL),
// exactly as given. By default "C:\Users\Marie\Documents", with no backslash at
// the end, as Windows gives it; a drive root is "D:\". An empty path makes the
// folder one without a file-system path: SHGetPathFromIDListA then fails.
void SetDocumentsFolder(const std::string &windowsPath);

// Identifier lists handed out by SHGetSpecialFolderLocation and not yet freed
// through the shell's allocator.
int LiveIdLists();
// References to the shell's allocator taken by SHGetMalloc and not released.
int ShellAllocatorReferences();
// Frees of blocks the shell's allocator never handed out (or freed twice).
int BadShellFrees();

}  // namespace winsim
