#include "deskplan/view/shared_item_area.h"

#include <cstring>

#include <commctrl.h>

#include "common/os_error.h"
#include "deskplan/app/program_state.h"
#include "deskplan/view/item_layout.h"

namespace {

// Layout of the area: text, one spare byte, a 32-bit item record, a point.
const std::size_t kTextOffset = 0;
const int kTextCapacity = 260;
const std::size_t kRecordOffset = 261;
const std::size_t kPointOffset = 301;

HANDLE CreateArea() {
  return CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedAreaSize, "Deskplan");
}

LPVOID MapArea(HANDLE mapping) {
  return mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
}

}  // namespace

SharedItemArea::SharedItemArea() : mapping_(CreateArea()), view_(MapArea(mapping_.Get())) {
  if (!IsMapped()) ShowNotice(SystemMessageText(GetLastError()).c_str(), MB_ICONWARNING, false);
}

bool SharedItemArea::ReadItem(HWND view, int index, std::string &caption, POINT &position) {
  auto *area = static_cast<unsigned char *>(view_.Get());
  if (!area) return false;
  // Nothing of the previous item may survive a query the view does not answer.
  area[kTextOffset] = 0;
  PutInt32(area + kPointOffset, -1);
  PutInt32(area + kPointOffset + 4, -1);

  unsigned char *record = area + kRecordOffset;
  PutInt32(record + 0, 1);  // LVIF_TEXT
  PutInt32(record + 4, index);
  PutInt32(record + 8, 0);
  PutInt32(record + 12, 0);
  PutInt32(record + 16, 0);
  PutInt32(record + 20, static_cast<std::int32_t>(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(area))));
  PutInt32(record + 24, kTextCapacity);
  PutInt32(record + 28, 0);

  SendMessageA(view, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(record));
  SendMessageA(view, LVM_GETITEMPOSITION, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(area + kPointOffset));

  if (area[kTextOffset] == 0) return false;
  // Any process can open the area by name: never read past its text field.
  const std::size_t limit = kTextCapacity - 1;
  const void *end = std::memchr(area + kTextOffset, 0, limit);
  std::size_t length =
      end ? static_cast<std::size_t>(static_cast<const unsigned char *>(end) - (area + kTextOffset)) : limit;
  caption.assign(reinterpret_cast<const char *>(area + kTextOffset), length);
  position.x = GetInt32(area + kPointOffset);
  position.y = GetInt32(area + kPointOffset + 4);
  return true;
}

void SharedItemArea::SetItemPosition(HWND view, int index, int x, int y) {
  auto *area = static_cast<unsigned char *>(view_.Get());
  if (!area) return;
  PutInt32(area + kPointOffset, x);
  PutInt32(area + kPointOffset + 4, y);
  LRESULT moved =
      SendMessageA(view, LVM_SETITEMPOSITION32, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(area + kPointOffset));
  // A refused move is passed over, unless the view went away with the shell's
  // process: then the restore broke off.
  if (moved == 0 && !IsWindow(view)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    RaiseLastOsError();
  }
}
