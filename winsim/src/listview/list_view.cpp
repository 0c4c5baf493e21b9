// The shell's list view of desktop icons. It runs in the shell's process: the
// addresses it gets are that process's, and the item records it reads are laid
// out for that process's pointer width, so a record built for the wrong width
// is misread as it would be on Windows.
#include <cstring>
#include <map>
#include <memory>

#include "core/component.h"
#include "listview/list_view_paint.h"
#include "core/trace.h"
#include "process/process_state.h"
#include "winsim/desktop.h"
#include "winsim/windows.h"

namespace winsim {
namespace detail {
namespace {

struct ListViewModel {
  DWORD processId = 0;
  std::vector<DesktopIcon> icons;
  std::function<void(UINT, WPARAM, LPARAM)> observer;
  ListViewPainting painting;
  int countExcess = 0;
};

struct ListViewState {
  std::map<HWND, std::shared_ptr<ListViewModel>> views;
};

std::shared_ptr<ListViewModel> FindModel(HWND window) {
  auto &views = Component<ListViewState>().views;
  auto found = views.find(window);
  return found == views.end() ? nullptr : found->second;
}

std::uint64_t ReadUnsigned(const unsigned char *bytes, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  return value;
}

std::int32_t ReadInt32(const unsigned char *bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadUnsigned(bytes, 4)));
}

void WriteInt32(unsigned char *bytes, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

// A moved icon or an invalidated view is repainted at once, unless the view's
// redraw is off (WM_SETREDRAW FALSE): then nothing is drawn until it is back on
// and the view is invalidated.
void Repaint(ListViewModel &model) {
  if (model.painting.redraw) ++model.painting.paints;
}

DesktopIcon *IconAt(ListViewModel &model, WPARAM index) {
  return index < model.icons.size() ? &model.icons[index] : nullptr;
}

// LVM_GETITEMA: the text of an item into the buffer the record names.
LRESULT GetItem(ListViewModel &model, LPARAM recordAddress) {
  const std::size_t pointer = PointerSizeOf(KindOfProcess(model.processId));
  const std::size_t recordSize = pointer == 8 ? 56 : 40;
  const unsigned char *record =
      AccessProcessMemory(model.processId, static_cast<std::uintptr_t>(recordAddress), recordSize, false);
  if (!record) return FALSE;
  std::uint32_t mask = static_cast<std::uint32_t>(ReadUnsigned(record, 4));
  std::int32_t index = ReadInt32(record + 4);
  std::int32_t subItem = ReadInt32(record + 8);
  std::uint64_t text = ReadUnsigned(record + (pointer == 8 ? 24 : 20), pointer);
  std::int32_t textMax = ReadInt32(record + (pointer == 8 ? 32 : 24));
  Record("LVM_GETITEMA", std::to_string(index));
  if (index < 0 || subItem != 0) return FALSE;
  DesktopIcon *icon = IconAt(model, static_cast<WPARAM>(index));
  if (!icon || icon->itemQueryFails) return FALSE;
  if ((mask & LVIF_TEXT) && textMax > 0 && icon->textFillsBuffer) {
    std::string filled = icon->caption;
    filled.resize(static_cast<std::size_t>(textMax), kUnterminatedPadding);
    unsigned char *destination = AccessProcessMemory(model.processId, text, filled.size(), true);
    if (!destination) return FALSE;
    std::memcpy(destination, filled.data(), filled.size());
  } else if ((mask & LVIF_TEXT) && textMax > 0 && !icon->textLeftUnwritten) {
    std::size_t length = icon->caption.size();
    if (length > static_cast<std::size_t>(textMax) - 1) length = static_cast<std::size_t>(textMax) - 1;
    unsigned char *destination = AccessProcessMemory(model.processId, text, length + 1, true);
    if (!destination) return FALSE;
    std::memcpy(destination, icon->caption.data(), length);
    destination[length] = 0;
  }
  return TRUE;
}

LRESULT GetItemPosition(ListViewModel &model, WPARAM index, LPARAM pointAddress) {
  Record("LVM_GETITEMPOSITION", std::to_string(index));
  DesktopIcon *icon = IconAt(model, index);
  if (!icon || icon->positionQueryFails) return FALSE;
  unsigned char *point = AccessProcessMemory(model.processId, static_cast<std::uintptr_t>(pointAddress), 8, true);
  if (!point) return FALSE;
  WriteInt32(point, icon->x);
  WriteInt32(point + 4, icon->y);
  return TRUE;
}

LRESULT SetItemPosition(ListViewModel &model, WPARAM index, LPARAM packed) {
  Record("LVM_SETITEMPOSITION", std::to_string(index));
  DesktopIcon *icon = IconAt(model, index);
  if (!icon) return FALSE;
  // Each coordinate is a signed 16-bit word.
  icon->x = static_cast<short>(LOWORD(packed));
  icon->y = static_cast<short>(HIWORD(packed));
  Repaint(model);
  return TRUE;
}

LRESULT SetItemPosition32(ListViewModel &model, WPARAM index, LPARAM pointAddress) {
  Record("LVM_SETITEMPOSITION32", std::to_string(index));
  DesktopIcon *icon = IconAt(model, index);
  if (!icon) return FALSE;
  const unsigned char *point =
      AccessProcessMemory(model.processId, static_cast<std::uintptr_t>(pointAddress), 8, false);
  if (!point) return FALSE;
  icon->x = ReadInt32(point);
  icon->y = ReadInt32(point + 4);
  Repaint(model);
  return TRUE;
}

LRESULT Handle(ListViewModel &model, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case LVM_GETITEMCOUNT:
      return static_cast<LRESULT>(model.icons.size()) + model.countExcess;
    case LVM_GETITEMA:
      return GetItem(model, lParam);
    case LVM_GETITEMPOSITION:
      return GetItemPosition(model, wParam, lParam);
    case LVM_SETITEMPOSITION:
      return SetItemPosition(model, wParam, lParam);
    case LVM_SETITEMPOSITION32:
      return SetItemPosition32(model, wParam, lParam);
    case WM_SETREDRAW:
      Record("WM_SETREDRAW", wParam ? "TRUE" : "FALSE");
      model.painting.redraw = wParam != 0;
      return 0;
    default:
      return 0;
  }
}

LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ListViewModel> model;
  LRESULT result = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(MachineLock());
    model = FindModel(window);
    if (!model) return 0;
    result = Handle(*model, message, wParam, lParam);
  }
  if (model->observer) model->observer(message, wParam, lParam);
  return result;
}

}  // namespace

bool InvalidateListView(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto model = FindModel(window);
  if (!model) return false;
  ++model->painting.invalidations;
  Repaint(*model);
  return true;
}

}  // namespace detail

HWND AddShellListView(HWND parent, DWORD processId, const std::vector<DesktopIcon> &icons, LONG style) {
  ForeignWindow window;
  window.className = WC_LISTVIEWA;
  window.title = "FolderView";
  window.parent = parent;
  window.processId = processId;
  window.style = static_cast<LONG>(0x40000000 | 0x10000000) | style;  // WS_CHILD | WS_VISIBLE
  window.proc = detail::ListViewProc;
  HWND handle = AddForeignWindow(window);
  auto model = std::make_shared<detail::ListViewModel>();
  model->processId = processId;
  model->icons = icons;
  detail::Component<detail::ListViewState>().views[handle] = model;
  return handle;
}

std::vector<DesktopIcon> ListViewIcons(HWND listView) {
  auto model = detail::FindModel(listView);
  return model ? model->icons : std::vector<DesktopIcon>();
}

void SetListViewIcons(HWND listView, const std::vector<DesktopIcon> &icons) {
  if (auto model = detail::FindModel(listView)) model->icons = icons;
}

void SetListViewCountExcess(HWND listView, int excess) {
  if (auto model = detail::FindModel(listView)) model->countExcess = excess;
}

ListViewPainting ListViewPaintState(HWND listView) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto model = detail::FindModel(listView);
  return model ? model->painting : ListViewPainting();
}

void SetListViewObserver(HWND listView, std::function<void(UINT, WPARAM, LPARAM)> observer) {
  if (auto model = detail::FindModel(listView)) model->observer = std::move(observer);
}

}  // namespace winsim
