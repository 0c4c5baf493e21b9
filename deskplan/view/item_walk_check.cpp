#include "deskplan/view/item_walk_check.h"

#include "common/os_error.h"
#include "deskplan/view/item_count.h"

bool NoItemReadable(const std::vector<RemoteItem> &items) {
  for (const RemoteItem &item : items)
    if (item.readable) return false;
  return true;
}

void CheckWalkSawOneDesktop(HWND view, int countAtStart, bool itemSkipped) {
  if (!itemSkipped) return;
  if (!IsWindow(view)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    RaiseLastOsError();
  }
  if (ReadItemCount(view) == countAtStart) return;
  SetLastError(ERROR_RETRY);
  RaiseLastOsError();
}
