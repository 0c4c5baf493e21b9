// Forced into every GoogleTest translation unit of the win32 build: the win32
// thread model of that compiler has no std::mutex or std::condition_variable,
// on which GoogleTest builds its thread start signal. This one is a Win32
// manual-reset event; GTEST_HAS_NOTIFICATION_ tells GoogleTest it is there.
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() {
    if (event_ != nullptr) CloseHandle(event_);
  }

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing
