// The shared-area method of the Windows 9x family and NT 4: a small named
// shared memory area whose address, as this program sees it, is handed to the
// list view, which on those systems can write there.
#pragma once

#include <string>

#include <windows.h>

#include "common/unique_any.h"

const DWORD kSharedAreaSize = 309;

class SharedItemArea {
 public:
  // Creates and maps the area "Deskplan"; when that fails, shows the system's
  // text for the error as a warning (unless quiet) and stays unmapped.
  SharedItemArea();
  bool IsMapped() const { return static_cast<bool>(view_); }

  // Caption (at most 259 characters) and position of an item; false when the
  // caption is empty, which skips the item.
  bool ReadItem(HWND view, int index, std::string &caption, POINT &position);
  // Moves an item; a refused move is passed over, but a view gone with its
  // process raises OsError.
  void SetItemPosition(HWND view, int index, int x, int y);

 private:
  // Released in reverse order: the view, then the mapping.
  UniqueHandle mapping_;
  UniqueMappedView view_;
};
