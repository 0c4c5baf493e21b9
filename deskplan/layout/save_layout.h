// The save passes: every icon's caption and position into the layout's key.
#pragma once

#include <string>

#include <windows.h>

class SharedItemArea;

// Cross-process method: one REG_BINARY IconPosition per icon, equal captions
// made distinct. Every item is read before the stored layout is touched, so a
// pass that fails part-way leaves the old layout whole. A walk that cannot
// start (the shell's process cannot be opened, no buffer) or breaks off (a
// memory copy fails, the shell's process ends) raises OsError.
void SaveLayout(HWND view, const std::string &keyPath);

// Shared-area method: one REG_DWORD PackedIconPosition per caption as it is
// (equal captions share a value; the last one wins). The old layout is
// replaced as one change too; a failure to store raises OsError.
void SaveLayoutShared(HWND view, const std::string &layoutName, SharedItemArea &area);
