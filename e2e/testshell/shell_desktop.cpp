#include "shell_desktop.h"

#include <commctrl.h>

#include "shared_arena.h"

namespace testshell {
namespace {

const char kShellViewClass[] = "SHELLDLL_DefView";

// The host and view windows only need to exist and paint; the shell view
// keeps its list view filling it.
LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    HWND child = GetWindow(window, GW_CHILD);
    if (child != nullptr) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A desktop made again after a restart finds its classes still registered.
bool RegisterPlainClass(HINSTANCE instance, const char* name) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = name;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateTopLevel(HINSTANCE instance, const char* className, const char* title, bool visible) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
  return CreateWindowExA(0, className, title, style, 0, 0, width, height, nullptr, nullptr, instance,
                         nullptr);
}

std::string LastErrorText(const char* what) {
  return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

}  // namespace

bool ShellDesktop::Create(const ShellOptions& options, HINSTANCE instance, std::string& error) {
  INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  if (!InitCommonControlsEx(&controls)) {
    error = LastErrorText("InitCommonControlsEx");
    return false;
  }
  const char* hostClass = options.host == HostKind::Progman ? "Progman" : "WorkerW";
  if (!RegisterPlainClass(instance, "Progman") || !RegisterPlainClass(instance, "WorkerW") ||
      !RegisterPlainClass(instance, kShellViewClass)) {
    error = LastErrorText("RegisterClassA");
    return false;
  }

  if (options.host == HostKind::WorkerW) {
    if (options.emptyProgman) {
      emptyProgman_ = OwnedWindow(CreateTopLevel(instance, "Progman", "Program Manager", false));
    }
    for (int i = 0; i < options.decoyWorkers; ++i) {
      decoys_.emplace_back(CreateTopLevel(instance, "WorkerW", "", false));
    }
  }
  const char* title = options.host == HostKind::Progman ? "Program Manager" : "";
  host_ = OwnedWindow(CreateTopLevel(instance, hostClass, title, false));
  if (host_.get() == nullptr) {
    error = LastErrorText("CreateWindowExA(host)");
    return false;
  }

  RECT area;
  GetClientRect(host_.get(), &area);
  shellView_ = OwnedWindow(CreateWindowExA(0, kShellViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                           area.right, area.bottom, host_.get(), nullptr, instance, nullptr));
  if (shellView_.get() == nullptr) {
    error = LastErrorText("CreateWindowExA(SHELLDLL_DefView)");
    return false;
  }
  DWORD listStyle = WS_CHILD | WS_VISIBLE | LVS_ICON;
  if (options.autoArrange) listStyle |= LVS_AUTOARRANGE;
  if (options.editLabels) listStyle |= LVS_EDITLABELS;
  listView_ = OwnedWindow(CreateWindowExA(0, WC_LISTVIEWA, "FolderView", listStyle, 0, 0, area.right, area.bottom,
                                          shellView_.get(), nullptr, instance, nullptr));
  if (listView_.get() == nullptr) {
    error = LastErrorText("CreateWindowExA(SysListView32)");
    return false;
  }
  // Desktop look: one stock icon for every item, white captions on teal.
  const HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (images != nullptr) {
    ImageList_AddIcon(images, LoadIcon(nullptr, IDI_APPLICATION));
    SendMessageA(listView_.get(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  }
  const COLORREF teal = RGB(0, 128, 128);
  SendMessageA(listView_.get(), LVM_SETBKCOLOR, 0, teal);
  SendMessageA(listView_.get(), LVM_SETTEXTBKCOLOR, 0, teal);
  SendMessageA(listView_.get(), LVM_SETTEXTCOLOR, 0, RGB(255, 255, 255));
  return true;
}

void ShellDesktop::Destroy() {
  // The host takes its view and list view with it.
  listView_ = OwnedWindow();
  shellView_ = OwnedWindow();
  host_ = OwnedWindow();
  emptyProgman_ = OwnedWindow();
  decoys_.clear();
}

void ShellDesktop::AddIcons(const std::vector<e2e::FixtureIcon>& icons, std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end && i < icons.size(); ++i) {
    std::string caption = icons[i].caption;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.iImage = 0;
    item.pszText = &caption[0];
    SendMessageA(listView_.get(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void ShellDesktop::Show() {
  ShowWindow(host_.get(), SW_SHOW);
  UpdateWindow(host_.get());
}

void ShellDesktop::PlaceIcons(const std::vector<e2e::FixtureIcon>& icons, std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end && i < icons.size(); ++i) {
    MoveItem(static_cast<int>(i), icons[i].x, icons[i].y);
  }
  InvalidateRect(listView_.get(), nullptr, TRUE);
  UpdateWindow(listView_.get());
}

int ShellDesktop::ItemCount() const {
  const OwnListCall own;
  return static_cast<int>(SendMessageA(listView_.get(), LVM_GETITEMCOUNT, 0, 0));
}

bool ShellDesktop::ReadItem(int index, ItemReport& item) const {
  const OwnListCall own;
  if (index < 0 || index >= ItemCount()) return false;
  std::string text(4096, '\0');
  LVITEMA query = {};
  query.mask = LVIF_TEXT;
  query.iItem = index;
  query.pszText = &text[0];
  query.cchTextMax = static_cast<int>(text.size());
  if (!SendMessageA(listView_.get(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return false;
  item.caption.assign(query.pszText);
  item.position = POINT{-1, -1};
  return SendMessageA(listView_.get(), LVM_GETITEMPOSITION, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&item.position)) != 0;
}

bool ShellDesktop::MoveItem(int index, int x, int y) const {
  const OwnListCall own;
  POINT position = {x, y};
  return SendMessageA(listView_.get(), LVM_SETITEMPOSITION32, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&position)) != 0;
}

DWORD ShellDesktop::ListStyle() const {
  return static_cast<DWORD>(GetWindowLongPtrA(listView_.get(), GWL_STYLE));
}

}  // namespace testshell
