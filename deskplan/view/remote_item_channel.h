// The cross-process method: one pass over the list view's items through a
// transfer buffer allocated inside the shell's process, a batch of items at a
// time.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "common/unique_any.h"
#include "deskplan/view/item_buffers.h"

// What the view told of one item.
struct RemoteItem {
  bool readable = false;     // false: the view gives no caption (skip the item)
  std::string caption;       // at most 4096 bytes
  POINT position = {-1, -1};  // (-1, -1) when not asked for or when the view cannot tell
};

// A block inside the shell's process, released there with VirtualFreeEx.
struct ReleaseInProcess {
  HANDLE process = nullptr;
  void operator()(void *address) const;
};

enum class ItemQuery { Caption, CaptionAndPosition };

class RemoteItemChannel {
 public:
  // Opens the shell process that owns `view` and obtains both buffers; when
  // anything is missing the channel is not open and the pass visits no item.
  explicit RemoteItemChannel(HWND view);
  bool IsOpen() const;
  // Why the channel is not open: the error of the step that failed (0 when
  // the system gave none).
  DWORD OpenError() const { return openError_; }

  // The items first .. first + count - 1 (count at most kItemBatchSize): their
  // records go into the shell with one copy, the view is asked for each item's
  // caption (and, for a readable item, its position), and the answers come back
  // with one copy; only the slots of the batch are copied. Answers count items
  // (none when the channel is not open). A failed memory copy raises OsError,
  // and so does a view that went away with its process during the batch.
  std::vector<RemoteItem> ReadItems(int first, int count, ItemQuery query);
  // The positions of items 0 .. count - 1 alone, packed one after the other in
  // the shell's buffer and copied back at once per buffer-full: the cheap read
  // that watching the desktop repeats. An item the view gives no position for
  // reads (-1, -1). Raises OsError as ReadItems does.
  std::vector<POINT> ReadPositions(int count);
  // Moves an item; each coordinate keeps its low 16 bits. A refused move is
  // passed over, but a view gone with its process raises OsError.
  void SetItemPosition(int index, int x, int y);

 private:
  void CopyToShell(std::size_t size);
  void CopyFromShell(std::size_t size);
  LPARAM RemoteSlot(int slot) const;

  HWND view_;
  // Released in reverse order: remote buffer, local buffer, process handle.
  UniqueHandle process_;
  UniqueVirtual local_;
  UniqueAny<void *, ReleaseInProcess> remote_;
  DWORD openError_ = 0;
};
