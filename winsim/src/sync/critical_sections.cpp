// Critical sections as real re-entrant locks, so that two threads of a test
// contend as they would on Windows. Ownership is tracked by thread id so that
// a Leave by a thread that does not own the section can be seen and refused.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>

#include "core/component.h"
#include "core/trace.h"
#include "optional_api.h"
#include "winsim/sync.h"

namespace winsim {
namespace detail {
namespace {

struct SectionLock {
  std::mutex mutex;
  std::condition_variable released;
};

struct SyncState {
  std::set<const CRITICAL_SECTION *> live;
};

SyncState &Sync() { return Component<SyncState>(); }

SectionLock *LockOf(LPCRITICAL_SECTION section) { return static_cast<SectionLock *>(section->DebugInfo); }

DWORD OwnerOf(LPCRITICAL_SECTION section) {
  return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(section->OwningThread));
}

void TakeOwnership(LPCRITICAL_SECTION section, DWORD thread) {
  section->OwningThread = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(thread));
  section->RecursionCount = 1;
}

}  // namespace
}  // namespace detail

int LiveCriticalSections() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return static_cast<int>(detail::Sync().live.size());
}

}  // namespace winsim

using namespace winsim::detail;

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
  Record("InitializeCriticalSection");
  *section = CRITICAL_SECTION{};
  section->LockCount = -1;
  section->DebugInfo = std::make_unique<SectionLock>().release();
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Sync().live.insert(section);
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
  Record("DeleteCriticalSection");
  std::unique_ptr<SectionLock> owned(LockOf(section));
  section->DebugInfo = nullptr;
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Sync().live.erase(section);
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
  DWORD me = GetCurrentThreadId();
  SectionLock *state = LockOf(section);
  std::unique_lock<std::mutex> guard(state->mutex);
  if (OwnerOf(section) == me) {
    ++section->RecursionCount;
    return;
  }
  ++section->LockCount;
  state->released.wait(guard, [&] { return OwnerOf(section) == 0; });
  TakeOwnership(section, me);
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  DWORD me = GetCurrentThreadId();
  SectionLock *state = LockOf(section);
  std::lock_guard<std::mutex> guard(state->mutex);
  if (OwnerOf(section) == me) {
    ++section->RecursionCount;
    return TRUE;
  }
  if (OwnerOf(section) != 0) return FALSE;
  ++section->LockCount;
  TakeOwnership(section, me);
  return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
  SectionLock *state = LockOf(section);
  std::lock_guard<std::mutex> guard(state->mutex);
  // Windows corrupts the section here; the simulation refuses and says so.
  if (OwnerOf(section) != GetCurrentThreadId() || section->RecursionCount <= 0) {
    Record("LeaveCriticalSection", "not owner");
    return;
  }
  if (--section->RecursionCount > 0) return;
  section->OwningThread = nullptr;
  --section->LockCount;
  state->released.notify_one();
}
