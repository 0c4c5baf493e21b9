// shell32's special folders: identifier lists allocated by the shell's
// allocator, which the caller frees through it, and their file-system paths.
#include <shlobj.h>

#include <cstring>
#include <map>
#include <vector>

#include "core/component.h"
#include "core/trace.h"
#include "winsim/shell_folders.h"

using namespace winsim::detail;

namespace {

// Our lists hold one item: a marker and the folder's CSIDL.
const BYTE kMarker[2] = {'w', 's'};
const USHORT kItemSize = 6;

struct FolderState {
  std::string documentsFolder = "C:\\Users\\Marie\\Documents";
  std::map<const void *, std::vector<BYTE>> blocks;  // handed out by the allocator
  std::map<const void *, int> folderOfList;           // lists made by SHGetSpecialFolderLocation
  int references = 0;
  int badFrees = 0;
};

FolderState &Folders() { return Component<FolderState>(); }

class ShellAllocator : public IMalloc {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    return static_cast<ULONG>(++Folders().references);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    return static_cast<ULONG>(--Folders().references);
  }
  void *STDMETHODCALLTYPE Alloc(SIZE_T size) override {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    std::vector<BYTE> block(size ? size : 1);
    void *address = block.data();
    Folders().blocks[address] = std::move(block);
    return address;
  }
  void *STDMETHODCALLTYPE Realloc(void *block, SIZE_T size) override {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    if (!block) return Alloc(size);
    auto found = Folders().blocks.find(block);
    if (found == Folders().blocks.end()) return nullptr;
    void *moved = Alloc(size);
    std::memcpy(moved, block, std::min<SIZE_T>(size, found->second.size()));
    Free(block);
    return moved;
  }
  void STDMETHODCALLTYPE Free(void *block) override {
    Record("IMalloc::Free");
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    if (!block) return;
    auto &state = Folders();
    if (state.blocks.erase(block) == 0) {
      ++state.badFrees;
      return;
    }
    state.folderOfList.erase(block);
  }
  SIZE_T STDMETHODCALLTYPE GetSize(void *block) override {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    auto found = Folders().blocks.find(block);
    return found == Folders().blocks.end() ? static_cast<SIZE_T>(-1) : found->second.size();
  }
  int STDMETHODCALLTYPE DidAlloc(void *block) override {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    return Folders().blocks.count(block) ? 1 : 0;
  }
  void STDMETHODCALLTYPE HeapMinimize() override {}
};

ShellAllocator &Allocator() {
  static ShellAllocator allocator;
  return allocator;
}

}  // namespace

HRESULT WINAPI SHGetMalloc(LPMALLOC *allocator) {
  Record("SHGetMalloc");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!allocator) return E_INVALIDARG;
  *allocator = nullptr;
  if (unsigned fault = InjectedFault("SHGetMalloc")) return static_cast<HRESULT>(fault);
  Allocator().AddRef();
  *allocator = &Allocator();
  return S_OK;
}

HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE *list) {
  (void)owner;
  Record("SHGetSpecialFolderLocation", std::to_string(folder));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!list) return E_INVALIDARG;
  *list = nullptr;
  if (unsigned fault = InjectedFault("SHGetSpecialFolderLocation")) return static_cast<HRESULT>(fault);
  // Only the documents folder is modelled; any other is answered as unknown.
  if (folder != CSIDL_PERSONAL) return E_INVALIDARG;
  BYTE *bytes = static_cast<BYTE *>(Allocator().Alloc(kItemSize + sizeof(USHORT)));
  const BYTE item[kItemSize] = {kItemSize, 0, kMarker[0], kMarker[1], static_cast<BYTE>(folder), 0};
  std::memcpy(bytes, item, sizeof item);
  bytes[kItemSize] = bytes[kItemSize + 1] = 0;  // the list's terminating empty item
  Folders().folderOfList[bytes] = folder;
  *list = reinterpret_cast<PIDLIST_ABSOLUTE>(bytes);
  return S_OK;
}

BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path) {
  Record("SHGetPathFromIDListA");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!path) return FALSE;
  path[0] = '\0';
  if (InjectedFault("SHGetPathFromIDListA")) return FALSE;
  auto found = Folders().folderOfList.find(list);
  if (found == Folders().folderOfList.end() || found->second != CSIDL_PERSONAL) return FALSE;
  const std::string &folder = Folders().documentsFolder;
  if (folder.empty()) return FALSE;
  std::size_t length = std::min<std::size_t>(folder.size(), MAX_PATH - 1);
  std::memcpy(path, folder.data(), length);
  path[length] = '\0';
  return TRUE;
}

namespace winsim {

void SetDocumentsFolder(const std::string &windowsPath) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Folders().documentsFolder = windowsPath;
}

int LiveIdLists() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return static_cast<int>(Folders().folderOfList.size());
}

int ShellAllocatorReferences() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return Folders().references;
}

int BadShellFrees() {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  return Folders().badFrees;
}

}  // namespace winsim
