#include "core/handles.h"

#include <map>

#include "core/component.h"
#include "core/trace.h"
#include "winsim/machine.h"

namespace winsim {
namespace detail {
namespace {

struct HandleState {
  std::map<HANDLE, std::shared_ptr<KernelObject>> open;
  std::uintptr_t next = 0x100;
};

}  // namespace

HANDLE NewHandle(std::shared_ptr<KernelObject> object) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &state = Component<HandleState>();
  HANDLE handle = reinterpret_cast<HANDLE>(state.next);
  state.next += 4;
  state.open[handle] = std::move(object);
  return handle;
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &open = Component<HandleState>().open;
  auto found = open.find(handle);
  return found == open.end() ? nullptr : found->second;
}

}  // namespace detail

int OpenHandleCount() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return static_cast<int>(detail::Component<detail::HandleState>().open.size());
}

}  // namespace winsim

BOOL WINAPI CloseHandle(HANDLE handle) {
  using namespace winsim::detail;
  Record("CloseHandle");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &open = Component<HandleState>().open;
  auto found = open.find(handle);
  if (found == open.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  open.erase(found);
  return TRUE;
}
