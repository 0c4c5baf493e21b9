// Runs a function on a second thread and waits for its end; false when no
// thread could be started. std::thread where
// the standard library has threads; the win32 thread model of the 32-bit
// mingw compiler has none, so there the thread is a Win32 one.
#pragma once

#include <functional>

#if defined(_GLIBCXX_HAS_GTHREADS)
#include <thread>
#else
#include <windows.h>
#endif

namespace contract {

inline bool RunOnOtherThread(const std::function<void()>& work) {
#if defined(_GLIBCXX_HAS_GTHREADS)
  std::thread(work).join();
  return true;
#else
  struct Thread {
    static DWORD WINAPI Run(LPVOID parameter) {
      (*static_cast<const std::function<void()>*>(parameter))();
      return 0;
    }
    explicit Thread(const std::function<void()>& work)
        : handle(CreateThread(nullptr, 0, &Run, const_cast<std::function<void()>*>(&work), 0, nullptr)) {}
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread() {
      if (handle != nullptr) CloseHandle(handle);
    }
    HANDLE handle;
  };
  Thread thread(work);
  if (thread.handle == nullptr) return false;
  return WaitForSingleObject(thread.handle, INFINITE) == WAIT_OBJECT_0;
#endif
}

}  // namespace contract
