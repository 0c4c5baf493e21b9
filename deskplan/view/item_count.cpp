#include "deskplan/view/item_count.h"

#include <climits>

#include <commctrl.h>

int ReadItemCount(HWND view) {
  LRESULT count = SendMessageA(view, LVM_GETITEMCOUNT, 0, 0);
  if (count <= 0) return 0;
  return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}
