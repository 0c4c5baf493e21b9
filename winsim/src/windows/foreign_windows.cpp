// Windows of other processes, arranged by tests: the shell's desktop above all.
#include <stdexcept>

#include "core/component.h"
#include "windows/window_state.h"

namespace winsim {

HWND AddForeignWindow(const ForeignWindow &window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  if (window.parent && !detail::FindWindowRecord(window.parent))
    throw std::invalid_argument("AddForeignWindow: the parent is not a window");
  detail::Window record;
  record.className = window.className;
  record.title = window.title;
  record.parent = window.parent;
  record.processId = window.processId;
  // Thread ids share the space of process ids; keep them apart.
  record.threadId = window.threadId ? window.threadId : window.processId + 0x100000;
  record.style = window.style;
  record.foreignProc = window.proc;
  return detail::LinkWindow(std::move(record), false);
}

void RemoveForeignWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  auto *record = detail::FindWindowRecord(window);
  if (!record || record->own) throw std::invalid_argument("RemoveForeignWindow: not a window of another process");
  detail::UnlinkWindowTree(window);
}

}  // namespace winsim
