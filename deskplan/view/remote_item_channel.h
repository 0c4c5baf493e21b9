// The cross-process method: one pass over the list view's items through a
// transfer buffer allocated inside the shell's process.
#pragma once

#include <string>

#include <windows.h>

#include "deskplan/view/item_buffers.h"
#include "deskplan/view/unique_handle.h"

class RemoteItemChannel {
 public:
  // Opens the shell process that owns `view` and obtains both buffers; when
  // anything is missing the channel is not open and the pass visits no item.
  explicit RemoteItemChannel(HWND view);
  bool IsOpen() const;

  // The caption of an item, or false when the view gives none (skip the item).
  // A failed memory copy raises OsError.
  bool ReadItemCaption(int index, std::string &caption);
  // The position of the item whose caption was just read; (-1, -1) when the
  // view cannot tell. A failed memory copy raises OsError.
  POINT ReadItemPosition(int index);
  // Moves an item; each coordinate keeps its low 16 bits.
  void SetItemPosition(int index, int x, int y);

 private:
  void CopyToShell();
  void CopyFromShell();
  LPARAM RemoteAddress() const;

  HWND view_;
  // Released in reverse order: remote buffer, local buffer, process handle.
  UniqueHandle process_;
  LocalItemBuffer local_;
  RemoteItemBuffer remote_;
};
