#include "shared_arena.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>

namespace testshell {
namespace {

WNDPROC originalListProc = nullptr;
int ownCallDepth = 0;
ArenaCounters counters;

// This process's view of the area, for the time of one message.
class ArenaView {
 public:
  ArenaView() {
    mapping_ = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "Deskplan");
    if (mapping_ != nullptr) bytes_ = static_cast<unsigned char*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kArenaSize));
  }
  ArenaView(const ArenaView&) = delete;
  ArenaView& operator=(const ArenaView&) = delete;
  ~ArenaView() {
    if (bytes_ != nullptr) UnmapViewOfFile(bytes_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  unsigned char* Bytes() const { return bytes_; }

 private:
  HANDLE mapping_ = nullptr;
  unsigned char* bytes_ = nullptr;
};

std::int32_t GetInt32(const unsigned char* at) {
  std::int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void PutInt32(unsigned char* at, std::int32_t value) { std::memcpy(at, &value, sizeof value); }

LRESULT CallList(HWND window, UINT message, WPARAM wParam, void* pointer) {
  return CallWindowProcA(originalListProc, window, message, wParam, reinterpret_cast<LPARAM>(pointer));
}

// The item record at 261 is the 32-bit LVITEMA: mask +0, iItem +4,
// iSubItem +8, pszText +20 (the sender's address: not ours), cchTextMax +24.
LRESULT ServeGetItem(HWND window, unsigned char* area) {
  const unsigned char* record = area + kArenaItemOffset;
  char text[kArenaTextCapacity] = {};
  LVITEMA item = {};
  item.mask = static_cast<UINT>(GetInt32(record));
  item.iItem = GetInt32(record + 4);
  item.iSubItem = GetInt32(record + 8);
  item.pszText = text;
  item.cchTextMax = static_cast<int>(kArenaTextCapacity);
  const LRESULT result = CallList(window, LVM_GETITEMA, 0, &item);
  if ((item.mask & LVIF_TEXT) != 0) {
    std::int32_t room = GetInt32(record + 24);
    if (room > static_cast<std::int32_t>(kArenaTextCapacity)) room = kArenaTextCapacity;
    if (room > 0) {
      const std::size_t length = strnlen(item.pszText, static_cast<std::size_t>(room - 1));
      std::memcpy(area + kArenaTextOffset, item.pszText, length);
      area[kArenaTextOffset + length] = 0;
    }
  }
  return result;
}

LRESULT ServeFromArena(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ArenaView view;
  unsigned char* area = view.Bytes();
  if (area == nullptr) {
    ++counters.passed;
    return CallWindowProcA(originalListProc, window, message, wParam, lParam);
  }
  ++counters.served;
  POINT point = {};
  switch (message) {
    case LVM_GETITEMA:
      return ServeGetItem(window, area);
    case LVM_GETITEMPOSITION: {
      const LRESULT result = CallList(window, message, wParam, &point);
      if (result != 0) {
        PutInt32(area + kArenaPointOffset, point.x);
        PutInt32(area + kArenaPointOffset + 4, point.y);
      }
      return result;
    }
    default:  // LVM_SETITEMPOSITION32
      point.x = GetInt32(area + kArenaPointOffset);
      point.y = GetInt32(area + kArenaPointOffset + 4);
      return CallList(window, message, wParam, &point);
  }
}

LRESULT CALLBACK ArenaListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool addressMessage =
      message == LVM_GETITEMA || message == LVM_GETITEMPOSITION || message == LVM_SETITEMPOSITION32;
  if (addressMessage && ownCallDepth == 0 && InSendMessage()) return ServeFromArena(window, message, wParam, lParam);
  return CallWindowProcA(originalListProc, window, message, wParam, lParam);
}

}  // namespace

bool ServeSharedArena(HWND listView) {
  originalListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ArenaListProc)));
  return originalListProc != nullptr;
}

ArenaCounters SharedArenaCounters() { return counters; }

bool InOwnListCall() { return ownCallDepth > 0; }

OwnListCall::OwnListCall() { ++ownCallDepth; }
OwnListCall::~OwnListCall() { --ownCallDepth; }

}  // namespace testshell
