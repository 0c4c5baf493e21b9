// The desktop's folder view as the shell offers it through COM: its window list
// (IShellWindows), the desktop's browser (IServiceProvider, IShellBrowser), the
// view (IShellView, IFolderView), the desktop folder (IShellFolder) and item
// enumerators (IEnumIDList). Item identifiers are task memory the caller frees.
// Objects live until the machine is reset; their reference counts are kept so
// tests can see that every reference handed out was released.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <exdisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include "core/component.h"
#include "core/trace.h"
#include "shell/com_state.h"
#include "winsim/desktop.h"
#include "winsim/folder_view.h"

namespace winsim {
namespace detail {
namespace {

class SimObject {
 public:
  virtual ~SimObject() = default;
  int references = 0;
};

struct FolderViewState {
  HWND listView = nullptr;
  FolderViewSetup setup;
  std::vector<POINT> record;
  std::vector<std::unique_ptr<SimObject>> objects;
  IUnknown *shellWindows = nullptr;
  IUnknown *desktopDispatch = nullptr;
  IUnknown *browser = nullptr;
  IUnknown *view = nullptr;
  IUnknown *folder = nullptr;
};

FolderViewState &State() { return Component<FolderViewState>(); }

HRESULT Fault(const char *call, std::string detail = std::string()) {
  Record(call, std::move(detail));
  return static_cast<HRESULT>(InjectedFault(call));
}

// Hands out one more reference to `object` through `out`.
template <class Interface>
HRESULT Give(Interface *object, void **out) {
  object->AddRef();
  *out = object;
  return S_OK;
}

#define WINSIM_REFERENCE_COUNTING                                              \
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }          \
  ULONG STDMETHODCALLTYPE Release() override {                                 \
    Record("Release");                                                         \
    return static_cast<ULONG>(--references);                                   \
  }

// The item identifier of list-view item `index`: one 6-byte entry, then the
// terminating zero-length entry.
PITEMID_CHILD NewItemId(std::uint32_t index) {
  auto *bytes = static_cast<unsigned char *>(CoTaskMemAlloc(8));
  bytes[0] = 6;
  bytes[1] = 0;
  std::memcpy(bytes + 2, &index, 4);
  bytes[6] = 0;
  bytes[7] = 0;
  return reinterpret_cast<PITEMID_CHILD>(bytes);
}

bool ItemIndex(PCUITEMID_CHILD item, std::size_t &index) {
  if (!item) return false;
  const auto *bytes = reinterpret_cast<const unsigned char *>(item);
  if (bytes[0] != 6 || bytes[1] != 0 || bytes[6] != 0 || bytes[7] != 0) return false;
  std::uint32_t value = 0;
  std::memcpy(&value, bytes + 2, 4);
  index = value;
  return index < ListViewIcons(State().listView).size();
}

class ItemEnumerator : public SimObject, public IEnumIDList {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumIDList)) return Give<IEnumIDList>(this, object);
    *object = nullptr;
    return E_NOINTERFACE;
  }
  WINSIM_REFERENCE_COUNTING
  HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD *items, ULONG *fetched) override {
    if (HRESULT fault = Fault("IEnumIDList::Next")) return fault;
    ULONG given = 0;
    std::size_t total = ListViewIcons(State().listView).size();
    while (given < count && next_ < total) items[given++] = NewItemId(static_cast<std::uint32_t>(next_++));
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }

 private:
  std::size_t next_ = 0;
};

class DesktopFolder : public SimObject, public IShellFolder {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellFolder)) return Give<IShellFolder>(this, object);
    *object = nullptr;
    return E_NOINTERFACE;
  }
  WINSIM_REFERENCE_COUNTING
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF, STRRET *name) override {
    if (HRESULT fault = Fault("IShellFolder::GetDisplayNameOf")) return fault;
    std::size_t index = 0;
    if (!name || !ItemIndex(item, index)) return E_INVALIDARG;
    // The shell hands names out in task memory, as wide text.
    std::string caption = ListViewIcons(State().listView)[index].caption;
    int length = MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, nullptr, 0);
    auto *wide = static_cast<LPWSTR>(CoTaskMemAlloc(static_cast<SIZE_T>(length) * sizeof(WCHAR)));
    MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, wide, length);
    name->uType = STRRET_WSTR;
    name->pOleStr = wide;
    return S_OK;
  }
};

class DesktopView : public SimObject, public IShellView, public IFolderView {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellView)) return Give<IShellView>(this, object);
    if (IsEqualIID(riid, IID_IFolderView)) {
      if (HRESULT fault = Fault("QueryInterface(IFolderView)")) {
        *object = nullptr;
        return fault;
      }
      return Give<IFolderView>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  WINSIM_REFERENCE_COUNTING
  HRESULT STDMETHODCALLTYPE GetFolder(REFIID riid, void **folder) override {
    *folder = nullptr;
    if (HRESULT fault = Fault("IFolderView::GetFolder")) return fault;
    return State().folder->QueryInterface(riid, folder);
  }
  HRESULT STDMETHODCALLTYPE Items(UINT flags, REFIID riid, void **items) override {
    *items = nullptr;
    if (HRESULT fault = Fault("IFolderView::Items")) return fault;
    if ((flags & 0xF) != SVGIO_ALLVIEW) return E_INVALIDARG;
    auto enumerator = std::make_unique<ItemEnumerator>();
    IUnknown *unknown = static_cast<IEnumIDList *>(enumerator.get());
    State().objects.push_back(std::move(enumerator));
    return unknown->QueryInterface(riid, items);
  }
  HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY items, POINT *points,
                                                   DWORD flags) override {
    if (HRESULT fault = Fault("IFolderView::SelectAndPositionItems", std::to_string(count))) return fault;
    if (!(flags & SVSI_POSITIONITEM)) return S_OK;
    if (!items || !points) return E_INVALIDARG;
    auto &state = State();
    std::vector<DesktopIcon> icons = ListViewIcons(state.listView);
    for (UINT i = 0; i < count; ++i) {
      std::size_t index = 0;
      if (!ItemIndex(items[i], index)) return E_INVALIDARG;
      icons[index].x = points[i].x;
      icons[index].y = points[i].y;
      state.record[index] = points[i];
    }
    SetListViewIcons(state.listView, icons);
    return S_OK;
  }
};

class DesktopBrowser : public SimObject, public IShellBrowser {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellBrowser))
      return Give<IShellBrowser>(this, object);
    *object = nullptr;
    return E_NOINTERFACE;
  }
  WINSIM_REFERENCE_COUNTING
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView **view) override {
    *view = nullptr;
    if (HRESULT fault = Fault("IShellBrowser::QueryActiveShellView")) return fault;
    return State().view->QueryInterface(IID_IShellView, reinterpret_cast<void **>(view));
  }
};

// What FindWindowSW answers for the desktop: its automation object, which
// offers the top-level browser as a service.
class DesktopDispatch : public SimObject, public IDispatch, public IServiceProvider {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) return Give<IDispatch>(this, object);
    if (IsEqualIID(riid, IID_IServiceProvider)) {
      if (HRESULT fault = Fault("QueryInterface(IServiceProvider)")) {
        *object = nullptr;
        return fault;
      }
      return Give<IServiceProvider>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  WINSIM_REFERENCE_COUNTING
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void **object) override {
    *object = nullptr;
    if (HRESULT fault = Fault("IServiceProvider::QueryService")) return fault;
    if (!IsEqualGUID(service, SID_STopLevelBrowser)) return E_NOINTERFACE;
    return State().browser->QueryInterface(riid, object);
  }
};

class ShellWindows : public SimObject, public IShellWindows {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IShellWindows))
      return Give<IShellWindows>(this, object);
    *object = nullptr;
    return E_NOINTERFACE;
  }
  WINSIM_REFERENCE_COUNTING
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT *, VARIANT *, int windowClass, LONG *window, int options,
                                         IDispatch **dispatch) override {
    if (dispatch) *dispatch = nullptr;
    if (HRESULT fault = Fault("IShellWindows::FindWindowSW")) return fault;
    if (!window) return E_POINTER;
    *window = 0;
    // Not found is a success code with no window.
    if (windowClass != SWC_DESKTOP || !State().setup.desktopFound) return S_FALSE;
    *window = static_cast<LONG>(reinterpret_cast<std::uintptr_t>(State().listView));
    if (!(options & SWFO_NEEDDISPATCH)) return S_OK;
    if (!dispatch) return E_POINTER;
    return State().desktopDispatch->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(dispatch));
  }
};

template <class Object, class Interface>
IUnknown *AddObject() {
  auto object = std::make_unique<Object>();
  IUnknown *unknown = static_cast<Interface *>(object.get());
  State().objects.push_back(std::move(object));
  return unknown;
}

}  // namespace

IUnknown *ShellWindowsObject() { return State().shellWindows; }

}  // namespace detail

void AddDesktopFolderView(HWND listView, const FolderViewSetup &setup) {
  using namespace detail;
  auto &state = State();
  state.listView = listView;
  state.setup = setup;
  state.record.clear();
  for (const DesktopIcon &icon : ListViewIcons(listView)) state.record.push_back(POINT{icon.x, icon.y});
  state.shellWindows = AddObject<ShellWindows, IShellWindows>();
  state.desktopDispatch = AddObject<DesktopDispatch, IDispatch>();
  state.browser = AddObject<DesktopBrowser, IShellBrowser>();
  state.view = AddObject<DesktopView, IShellView>();
  state.folder = AddObject<DesktopFolder, IShellFolder>();
}

void RefreshDesktop() {
  auto &state = detail::State();
  if (!state.listView || !state.setup.keepsPositionRecord) return;
  std::vector<DesktopIcon> icons = ListViewIcons(state.listView);
  for (std::size_t i = 0; i < icons.size() && i < state.record.size(); ++i) {
    icons[i].x = state.record[i].x;
    icons[i].y = state.record[i].y;
  }
  SetListViewIcons(state.listView, icons);
}

std::vector<POINT> ShellPositionRecord() { return detail::State().record; }

int LiveComReferences() {
  int total = 0;
  for (const auto &object : detail::State().objects) total += object->references;
  return total;
}

}  // namespace winsim
