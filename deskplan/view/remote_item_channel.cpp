#include "deskplan/view/remote_item_channel.h"

#include <cstring>

#include <commctrl.h>

#include "deskplan/app/os_error.h"
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

// Only the low byte of a list view's answer counts.
bool Succeeded(LRESULT result) { return (result & 0xFF) != 0; }

}  // namespace

RemoteItemChannel::RemoteItemChannel(HWND view)
    : view_(view), process_(OpenShellProcess(view)), local_(static_cast<bool>(process_)), remote_(process_.Get()) {}

bool RemoteItemChannel::IsOpen() const { return process_ && local_.Bytes() && remote_.Address(); }

LPARAM RemoteItemChannel::RemoteAddress() const { return reinterpret_cast<LPARAM>(remote_.Address()); }

void RemoteItemChannel::CopyToShell() {
  if (!WriteProcessMemory(process_.Get(), remote_.Address(), local_.Bytes(), kItemBufferSize, nullptr))
    RaiseLastOsError();
}

void RemoteItemChannel::CopyFromShell() {
  if (!ReadProcessMemory(process_.Get(), remote_.Address(), local_.Bytes(), kItemBufferSize, nullptr))
    RaiseLastOsError();
}

bool RemoteItemChannel::ReadItemCaption(int index, std::string &caption) {
  if (!IsOpen()) return false;
  unsigned char *local = local_.Bytes();
  std::memset(local, 0, kItemBufferSize);
  ItemLayout layout =
      ChooseItemLayout(sizeof(void *), IsProcessWow64(GetCurrentProcess()), IsProcessWow64(process_.Get()));
  auto textAddress = static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(remote_.Address())) + kItemTextOffset;
  WriteItemRecord(local, layout, index, textAddress, static_cast<int>(kItemTextCapacity));
  CopyToShell();
  if (!Succeeded(SendMessageA(view_, LVM_GETITEMA, 0, RemoteAddress()))) return false;
  CopyFromShell();
  const unsigned char *text = local + kItemTextOffset;
  const void *end = std::memchr(text, 0, kItemTextCapacity);
  std::size_t length = end ? static_cast<std::size_t>(static_cast<const unsigned char *>(end) - text)
                           : kItemTextCapacity;
  caption.assign(reinterpret_cast<const char *>(text), length);
  return true;
}

POINT RemoteItemChannel::ReadItemPosition(int index) {
  POINT position = {-1, -1};
  if (!IsOpen()) return position;
  if (!Succeeded(SendMessageA(view_, LVM_GETITEMPOSITION, static_cast<WPARAM>(index), RemoteAddress())))
    return position;
  CopyFromShell();
  position.x = GetInt32(local_.Bytes());
  position.y = GetInt32(local_.Bytes() + 4);
  return position;
}

void RemoteItemChannel::SetItemPosition(int index, int x, int y) {
  SendMessageA(view_, LVM_SETITEMPOSITION, static_cast<WPARAM>(index),
               MAKELPARAM(static_cast<unsigned>(x) & 0xFFFF, static_cast<unsigned>(y) & 0xFFFF));
}
