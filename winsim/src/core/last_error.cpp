#include <atomic>

#include <windows.h>

namespace {
thread_local DWORD lastError = 0;
std::atomic<DWORD> nextThreadId{0x104};
thread_local DWORD threadId = 0;
}  // namespace

DWORD WINAPI GetLastError() { return lastError; }
void WINAPI SetLastError(DWORD code) { lastError = code; }

DWORD WINAPI GetCurrentThreadId() {
  if (threadId == 0) threadId = nextThreadId.fetch_add(4);
  return threadId;
}

LONG WINAPI InterlockedIncrement(LONG volatile *addend) { return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST); }
LONG WINAPI InterlockedDecrement(LONG volatile *addend) { return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST); }
LONG WINAPI InterlockedExchange(LONG volatile *target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
