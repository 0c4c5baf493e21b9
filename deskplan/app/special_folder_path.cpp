#include "deskplan/app/special_folder_path.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// An identifier list from the shell, freed through the shell's own allocator,
// which every version of the shell hands out. The allocator is had before
// the list is asked for, so that a list is never received without the means
// to free it.
class ShellIdList {
 public:
  ShellIdList() {
    if (FAILED(SHGetMalloc(&allocator_))) allocator_ = nullptr;
  }
  ~ShellIdList() {
    if (!allocator_) return;
    if (list_) allocator_->Free(list_);
    allocator_->Release();
  }
  ShellIdList(const ShellIdList &) = delete;
  ShellIdList &operator=(const ShellIdList &) = delete;
  bool CanReceive() const { return allocator_ != nullptr; }
  LPITEMIDLIST *Receive() { return &list_; }
  LPCITEMIDLIST Get() const { return list_; }

 private:
  LPMALLOC allocator_ = nullptr;
  LPITEMIDLIST list_ = nullptr;
};

}  // namespace

std::string GetSpecialFolderPath(int csidl) {
  ShellIdList list;
  if (!list.CanReceive() || FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.Receive())) || !list.Get()) return std::string();
  char path[MAX_PATH] = {};
  // On failure the buffer stays empty, and so does the path.
  SHGetPathFromIDListA(list.Get(), path);
  path[MAX_PATH - 1] = '\0';
  return std::string(path);
}
