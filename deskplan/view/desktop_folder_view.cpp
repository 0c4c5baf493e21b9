#include "deskplan/view/desktop_folder_view.h"

#include <exdisp.h>
#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>

#include <string.h>

#include "deskplan/view/item_buffers.h"

namespace {

// The desktop's browser window, found through the shell's window list.
bool OpenDesktopBrowser(ComRef<IShellBrowser> &browser) {
  ComRef<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.PutVoid())) ||
      !windows)
    return false;
  VARIANT location = {};
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  VARIANT root = {};
  root.vt = VT_EMPTY;
  LONG window = 0;
  ComRef<IDispatch> dispatch;
  // Not finding the desktop is a success code without a window.
  if (FAILED(windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, dispatch.Put())) ||
      !dispatch)
    return false;
  ComRef<IServiceProvider> services;
  if (FAILED(dispatch->QueryInterface(IID_IServiceProvider, services.PutVoid())) || !services) return false;
  return SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid())) &&
         browser;
}

// The name as the list view shows it, in the ANSI code page and cut to the
// length its captions are read with.
bool NameFromStrRet(STRRET &text, PCUITEMID_CHILD id, std::string &name) {
  switch (text.uType) {
    case STRRET_WSTR: {
      UniqueTaskMemory<WCHAR> wide(text.pOleStr);
      if (!wide.Get()) return false;
      int length = WideCharToMultiByte(CP_ACP, 0, wide.Get(), -1, nullptr, 0, nullptr, nullptr);
      if (length <= 0) return false;
      name.assign(static_cast<std::size_t>(length), '\0');
      if (WideCharToMultiByte(CP_ACP, 0, wide.Get(), -1, &name[0], length, nullptr, nullptr) != length) return false;
      name.resize(static_cast<std::size_t>(length) - 1);
      break;
    }
    case STRRET_CSTR:
      name.assign(text.cStr, strnlen(text.cStr, sizeof text.cStr));
      break;
    case STRRET_OFFSET:
      name = reinterpret_cast<const char *>(id) + text.uOffset;
      break;
    default:
      return false;
  }
  if (name.size() > kItemTextCapacity - 1) name.resize(kItemTextCapacity - 1);
  return true;
}

}  // namespace

DesktopFolderView::DesktopFolderView() {
  if (!apartment_.Entered()) return;
  ComRef<IShellBrowser> browser;
  if (!OpenDesktopBrowser(browser)) return;
  ComRef<IShellView> shellView;
  if (FAILED(browser->QueryActiveShellView(shellView.Put())) || !shellView) return;
  if (FAILED(shellView->QueryInterface(IID_IFolderView, view_.PutVoid())) || !view_) return;
  if (FAILED(view_->GetFolder(IID_IShellFolder, folder_.PutVoid())) || !folder_) folder_.Reset();
}

bool DesktopFolderView::ReadItems(std::vector<DesktopShellItem> &items) const {
  items.clear();
  if (!IsOpen()) return false;
  ComRef<IEnumIDList> list;
  // In the view's order, which is the list view's.
  if (FAILED(view_->Items(static_cast<UINT>(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER), IID_IEnumIDList, list.PutVoid())) || !list)
    return false;
  for (;;) {
    PITEMID_CHILD next = nullptr;
    ULONG fetched = 0;
    HRESULT result = list->Next(1, &next, &fetched);
    UniqueItemId id(next);
    if (FAILED(result)) {
      items.clear();
      return false;
    }
    if (result != S_OK || fetched != 1 || !id.Get()) break;
    STRRET text = {};
    text.uType = STRRET_CSTR;
    std::string name;
    if (FAILED(folder_->GetDisplayNameOf(id.Get(), SHGDN_INFOLDER, &text)) || !NameFromStrRet(text, id.Get(), name)) {
      items.clear();
      return false;
    }
    items.push_back(DesktopShellItem{std::move(id), std::move(name)});
  }
  return true;
}

bool DesktopFolderView::PositionItems(const std::vector<const DesktopShellItem *> &items,
                                      const std::vector<POINT> &points) const {
  if (!IsOpen() || items.empty() || items.size() != points.size()) return false;
  std::vector<PCUITEMID_CHILD> ids;
  ids.reserve(items.size());
  for (const DesktopShellItem *item : items) ids.push_back(item->id.Get());
  std::vector<POINT> placed(points);
  return SUCCEEDED(
      view_->SelectAndPositionItems(static_cast<UINT>(ids.size()), ids.data(), placed.data(), SVSI_POSITIONITEM));
}

bool IsInShellProcess(HWND window) {
  HWND shell = GetShellWindow();
  if (!shell || !window) return false;
  DWORD shellProcess = 0;
  DWORD windowProcess = 0;
  if (!GetWindowThreadProcessId(shell, &shellProcess) || !GetWindowThreadProcessId(window, &windowProcess))
    return false;
  return shellProcess != 0 && shellProcess == windowProcess;
}
