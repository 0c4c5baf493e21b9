// What the tray's wait for a settled desktop relies on in window timers and
// the millisecond clock: WM_TIMER comes to the window with the timer's id,
// at most one at a time however long the program was away, a timer set
// again is replaced, and a killed one stops.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

const char kTimerClass[] = "TimerContract";
UINT_PTR lastTimerId = 0;
int timerMessages = 0;

LRESULT CALLBACK CountTimers(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    lastTimerId = wParam;
    ++timerMessages;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Dispatches what the queue holds now; answers how many WM_TIMER were among it.
int DispatchPendingTimers(HWND window) {
  const int before = timerMessages;
  MSG message;
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  return timerMessages - before;
}

TEST(TimerContract, TimerMessagesCarryTheIdDoNotPileUpAndStopWhenKilled) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CountTimers;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kTimerClass;
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, kTimerClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  DispatchPendingTimers(window);

  const DWORD start = GetTickCount();
  EXPECT_EQ(SetTimer(window, 7, 40, nullptr), 7u);
  EXPECT_EQ(SetTimer(window, 7, 40, nullptr), 7u) << "the same id again replaces the timer";
  Sleep(200);
  // The tick moves in steps of up to 16 ms: two of them may be missing.
  EXPECT_GE(static_cast<DWORD>(GetTickCount() - start), 200u - 32u) << "the clock counts the sleep";
  EXPECT_EQ(DispatchPendingTimers(window), 1) << "five intervals away, one message";
  EXPECT_EQ(lastTimerId, 7u);

  EXPECT_TRUE(KillTimer(window, 7));
  EXPECT_FALSE(KillTimer(window, 7));
  Sleep(100);
  EXPECT_EQ(DispatchPendingTimers(window), 0);

  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA(kTimerClass, GetModuleHandleA(nullptr)));
}

}  // namespace
