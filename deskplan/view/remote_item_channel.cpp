#include "deskplan/view/remote_item_channel.h"

#include <algorithm>
#include <cstring>

#include <commctrl.h>

#include "common/os_error.h"
#include "deskplan/view/item_layout.h"
#include "deskplan/view/virtalloc.h"

namespace {

const DWORD kChannelAccess =
    PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;  // 0x438

HANDLE OpenShellProcess(HWND view) {
  DWORD processId = 0;
  GetWindowThreadProcessId(view, &processId);
  return OpenProcess(kChannelAccess, FALSE, processId);
}

void *AllocateLocal(bool wanted) {
  return wanted ? VirtualAlloc(nullptr, kItemBufferSize, MEM_COMMIT, PAGE_READWRITE) : nullptr;
}

// Only when VirtualAllocEx was found.
void *AllocateIn(HANDLE process) {
  return process && VirtualAllocExProc
             ? VirtualAllocExProc(process, nullptr, kItemBufferSize, MEM_COMMIT, PAGE_READWRITE)
             : nullptr;
}

// A POINT as the view writes it: two 32-bit coordinates.
const std::size_t kPositionSize = 8;

// Only the low byte of a list view's answer counts.
bool Succeeded(LRESULT result) { return (result & 0xFF) != 0; }

// The text the view wrote into a slot, up to its first zero byte.
std::string SlotCaption(const unsigned char *slot) {
  const unsigned char *text = slot + kItemSlotTextOffset;
  const void *end = std::memchr(text, 0, kItemTextCapacity);
  std::size_t length = end ? static_cast<std::size_t>(static_cast<const unsigned char *>(end) - text)
                           : kItemTextCapacity;
  return std::string(reinterpret_cast<const char *>(text), length);
}

}  // namespace

RemoteItemChannel::RemoteItemChannel(HWND view)
    : view_(view),
      process_(OpenShellProcess(view)),
      local_(AllocateLocal(static_cast<bool>(process_))),
      remote_(AllocateIn(process_.Get()), ReleaseInProcess{process_.Get()}) {
  // Nothing after the failed step calls the system, so its error still stands.
  if (!IsOpen()) openError_ = GetLastError();
}

void ReleaseInProcess::operator()(void *address) const {
  if (VirtualFreeExProc) VirtualFreeExProc(process, address, 0, MEM_RELEASE);
}

bool RemoteItemChannel::IsOpen() const { return process_ && local_ && remote_; }

LPARAM RemoteItemChannel::RemoteSlot(int slot) const {
  return reinterpret_cast<LPARAM>(static_cast<unsigned char *>(remote_.Get()) +
                                  static_cast<std::size_t>(slot) * kItemSlotSize);
}

void RemoteItemChannel::CopyToShell(std::size_t size) {
  if (!WriteProcessMemory(process_.Get(), remote_.Get(), local_.Get(), size, nullptr)) RaiseLastOsError();
}

void RemoteItemChannel::CopyFromShell(std::size_t size) {
  if (!ReadProcessMemory(process_.Get(), remote_.Get(), local_.Get(), size, nullptr)) RaiseLastOsError();
}

std::vector<RemoteItem> RemoteItemChannel::ReadItems(int first, int count, ItemQuery query) {
  std::vector<RemoteItem> items;
  if (!IsOpen() || count <= 0) return items;
  count = std::min(count, kItemBatchSize);
  items.resize(static_cast<std::size_t>(count));
  // Zeroed slots, as the view finds them: every field not written is 0, and a
  // text area the view leaves alone reads as an empty caption. The copy in
  // ends with the last slot's first text byte: what lies beyond it is either
  // overwritten by the view's text and its terminating zero or never read.
  unsigned char *local = static_cast<unsigned char *>(local_.Get());
  const std::size_t written = static_cast<std::size_t>(count - 1) * kItemSlotSize + kItemSlotTextOffset + 1;
  std::memset(local, 0, written);
  ItemLayout layout =
      ChooseItemLayout(sizeof(void *), IsProcessWow64(GetCurrentProcess()), IsProcessWow64(process_.Get()));
  for (int slot = 0; slot < count; ++slot) {
    auto textAddress = static_cast<std::uint64_t>(static_cast<UINT_PTR>(RemoteSlot(slot))) + kItemSlotTextOffset;
    WriteItemRecord(local + static_cast<std::size_t>(slot) * kItemSlotSize, layout, first + slot, textAddress,
                    static_cast<int>(kItemTextCapacity));
  }
  CopyToShell(written);

  std::vector<bool> placed(static_cast<std::size_t>(count), false);
  int readable = 0;  // slots up to the last readable one come back
  for (int slot = 0; slot < count; ++slot) {
    RemoteItem &item = items[static_cast<std::size_t>(slot)];
    item.readable = Succeeded(SendMessageA(view_, LVM_GETITEMA, 0, RemoteSlot(slot)));
    if (item.readable) readable = slot + 1;
    // The position lands on the slot's record, which the view has done with.
    if (item.readable && query == ItemQuery::CaptionAndPosition)
      placed[static_cast<std::size_t>(slot)] =
          Succeeded(SendMessageA(view_, LVM_GETITEMPOSITION, static_cast<WPARAM>(first + slot), RemoteSlot(slot)));
  }

  // An unanswered query is an item without a caption, unless the view itself
  // is gone: then the shell's process ended and the walk cannot go on.
  if (readable < count && !IsWindow(view_)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    RaiseLastOsError();
  }
  if (readable == 0) return items;
  CopyFromShell(static_cast<std::size_t>(readable) * kItemSlotSize);
  for (int slot = 0; slot < readable; ++slot) {
    RemoteItem &item = items[static_cast<std::size_t>(slot)];
    if (!item.readable) continue;
    const unsigned char *bytes = local + static_cast<std::size_t>(slot) * kItemSlotSize;
    item.caption = SlotCaption(bytes);
    if (placed[static_cast<std::size_t>(slot)]) item.position = {GetInt32(bytes), GetInt32(bytes + 4)};
  }
  return items;
}

std::vector<POINT> RemoteItemChannel::ReadPositions(int count) {
  std::vector<POINT> positions;
  if (!IsOpen() || count <= 0) return positions;
  positions.resize(static_cast<std::size_t>(count));
  const int perBuffer = static_cast<int>(kItemBufferSize / kPositionSize);
  unsigned char *local = static_cast<unsigned char *>(local_.Get());
  unsigned char *remote = static_cast<unsigned char *>(remote_.Get());
  for (int first = 0; first < count; first += perBuffer) {
    const int batch = std::min(perBuffer, count - first);
    std::string answered(static_cast<std::size_t>(batch), '\0');
    for (int slot = 0; slot < batch; ++slot) {
      LPARAM at = reinterpret_cast<LPARAM>(remote + static_cast<std::size_t>(slot) * kPositionSize);
      answered[static_cast<std::size_t>(slot)] =
          Succeeded(SendMessageA(view_, LVM_GETITEMPOSITION, static_cast<WPARAM>(first + slot), at)) ? 1 : 0;
    }
    if (!IsWindow(view_)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      RaiseLastOsError();
    }
    CopyFromShell(static_cast<std::size_t>(batch) * kPositionSize);
    for (int slot = 0; slot < batch; ++slot) {
      POINT &position = positions[static_cast<std::size_t>(first + slot)];
      const unsigned char *bytes = local + static_cast<std::size_t>(slot) * kPositionSize;
      position = answered[static_cast<std::size_t>(slot)] != 0 ? POINT{GetInt32(bytes), GetInt32(bytes + 4)}
                                                          : POINT{-1, -1};
    }
  }
  return positions;
}

void RemoteItemChannel::SetItemPosition(int index, int x, int y) {
  LRESULT moved = SendMessageA(view_, LVM_SETITEMPOSITION, static_cast<WPARAM>(index),
                               MAKELPARAM(static_cast<unsigned>(x) & 0xFFFF, static_cast<unsigned>(y) & 0xFFFF));
  // A refused move is passed over, unless the view went away with the shell's
  // process: then the restore broke off.
  if (!Succeeded(moved) && !IsWindow(view_)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    RaiseLastOsError();
  }
}
