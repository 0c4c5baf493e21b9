#include "deskplan/app/special_folder_path.h"

#include <windows.h>
#include <shlobj.h>

#include "common/unique_any.h"

namespace {

// Frees through the shell's own allocator, which every version of the shell
// hands out; it is had before the list is asked for, so that a list is never
// received without the means to free it.
struct FreeWithAllocator {
  IMalloc *allocator = nullptr;
  void operator()(LPITEMIDLIST list) const { allocator->Free(list); }
};

struct ReleaseAllocator {
  void operator()(IMalloc *allocator) const { allocator->Release(); }
};

}  // namespace

std::string GetSpecialFolderPath(int csidl) {
  UniqueAny<IMalloc *, ReleaseAllocator> allocator;
  if (FAILED(SHGetMalloc(allocator.Put()))) allocator.Release();
  if (!allocator) return std::string();
  UniqueAny<LPITEMIDLIST, FreeWithAllocator> list(nullptr, FreeWithAllocator{allocator.Get()});
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.Put())) || !list) return std::string();
  char path[MAX_PATH] = {};
  // On failure the buffer stays empty, and so does the path.
  SHGetPathFromIDListA(list.Get(), path);
  path[MAX_PATH - 1] = '\0';
  return std::string(path);
}
