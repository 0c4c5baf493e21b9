#include "deskplan/app/special_folder_path.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// An identifier list from the shell, freed through the shell's own allocator,
// which every version of the shell hands out.
class ShellIdList {
 public:
  ShellIdList() = default;
  ~ShellIdList() {
    if (!list_) return;
    LPMALLOC allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
      allocator->Free(list_);
      allocator->Release();
    }
  }
  ShellIdList(const ShellIdList &) = delete;
  ShellIdList &operator=(const ShellIdList &) = delete;
  LPITEMIDLIST *Receive() { return &list_; }
  LPCITEMIDLIST Get() const { return list_; }

 private:
  LPITEMIDLIST list_ = nullptr;
};

}  // namespace

std::string GetSpecialFolderPath(int csidl) {
  ShellIdList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.Receive())) || !list.Get()) return std::string();
  char path[MAX_PATH] = {};
  // On failure the buffer stays empty, and so does the path.
  SHGetPathFromIDListA(list.Get(), path);
  path[MAX_PATH - 1] = '\0';
  return std::string(path);
}
