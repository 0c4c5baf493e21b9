// What a window that has gone still answers: a desktop view whose shell
// process ended looks like this to Deskplan, which tells a view gone from one
// that refuses a query by IsWindow.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

namespace {

const char kGoneClass[] = "GoneWindowContract";

LRESULT CALLBACK AnswerSeven(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LVM_GETITEMCOUNT) return 7;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(GoneWindowContract, MessagesToAGoneWindowAnswerZeroAndItBelongsToNoProcess) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = AnswerSeven;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kGoneClass;
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, kGoneClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 7);
  ASSERT_TRUE(DestroyWindow(window));

  EXPECT_FALSE(IsWindow(window));
  SetLastError(0);
  EXPECT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  // What is left in the id on this failure is not relied on: callers start
  // it at 0.
  DWORD processId = 0;
  EXPECT_EQ(GetWindowThreadProcessId(window, &processId), 0u);
  EXPECT_EQ(processId, 0u);
  EXPECT_TRUE(UnregisterClassA(kGoneClass, GetModuleHandleA(nullptr)));
}

}  // namespace
