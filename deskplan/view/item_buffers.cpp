#include "deskplan/view/item_buffers.h"

#include "deskplan/view/virtalloc.h"

LocalItemBuffer::LocalItemBuffer(bool wanted) {
  if (wanted) bytes_ = static_cast<unsigned char *>(VirtualAlloc(nullptr, kItemBufferSize, MEM_COMMIT, PAGE_READWRITE));
}

LocalItemBuffer::~LocalItemBuffer() {
  if (bytes_) VirtualFree(bytes_, 0, MEM_RELEASE);
}

RemoteItemBuffer::RemoteItemBuffer(HANDLE process) : process_(process) {
  if (process_ && VirtualAllocExProc)
    address_ = VirtualAllocExProc(process_, nullptr, kItemBufferSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteItemBuffer::~RemoteItemBuffer() {
  if (address_ && VirtualFreeExProc) VirtualFreeExProc(process_, address_, 0, MEM_RELEASE);
}
