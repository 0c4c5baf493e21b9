#include "test_windows.h"
#include "winsim/trace.h"

namespace winsim_windows_test {
namespace {

// The list view's automatic arrangement bit.
constexpr LONG kAutoArrange = 0x0100;

using WindowLongTest = WindowTest;

TEST_F(WindowLongTest, SetAnswersThePreviousValueAndLeavesTheErrorAlone) {
  HWND list = Foreign("SysListView32", "FolderView", nullptr, kAutoArrange | WS_VISIBLE);
  SetLastError(0);
  EXPECT_EQ(SetWindowLongA(list, GWL_STYLE, WS_VISIBLE), kAutoArrange | WS_VISIBLE);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE), WS_VISIBLE);
  EXPECT_EQ(winsim::WindowStyle(list), WS_VISIBLE);

  EXPECT_EQ(SetWindowLongA(list, GWLP_USERDATA, 9), 0);
  EXPECT_EQ(GetLastError(), 0u);  // a previous value of 0, not a failure
  EXPECT_EQ(SetWindowLongA(list, GWLP_USERDATA, 10), 9);
  EXPECT_EQ(SetWindowLongA(list, GWL_EXSTYLE, WS_EX_TOOLWINDOW), 0);
  EXPECT_EQ(GetWindowLongA(list, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
}

TEST_F(WindowLongTest, FailuresAnswerZeroWithTheirError) {
  HWND list = Foreign("SysListView32", "", nullptr, kAutoArrange);
  SetLastError(0);
  EXPECT_EQ(SetWindowLongA(reinterpret_cast<HWND>(0x4242), GWL_STYLE, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongA(list, 12345), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

  winsim::FailNext("SetWindowLongA", ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetWindowLongA(list, GWL_STYLE, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE), kAutoArrange);
}

TEST_F(WindowLongTest, PointerSizedUserDataKeepsAllItsBits) {
  HWND frame = Frame();
  int marker = 0;
  auto address = reinterpret_cast<LONG_PTR>(&marker);
  EXPECT_EQ(SetWindowLongPtrA(frame, GWLP_USERDATA, address), 0);
  EXPECT_EQ(GetWindowLongPtrA(frame, GWLP_USERDATA), address);
  EXPECT_EQ(GetWindowLongPtrA(frame, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
}

TEST_F(WindowLongTest, TopLevelWindowsGetTheStyleBitsWindowsAdds) {
  EXPECT_EQ(GetWindowLongA(Frame(), GWL_STYLE), WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS);
  HWND popup = CreateWindowExA(0, "TestFrame", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(popup, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS));
  EXPECT_EQ(GetWindowLongA(Child(popup), GWL_STYLE), WS_CHILD);
}

using ShowTest = WindowTest;

TEST_F(ShowTest, ShowWindowAnswersThePreviousVisibility) {
  HWND frame = Frame();
  EXPECT_FALSE(ShowWindow(frame, SW_HIDE));
  EXPECT_FALSE(ShowWindow(frame, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(frame));
  EXPECT_TRUE(ShowWindow(frame, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(frame));
  EXPECT_EQ(MessagesAmong({WM_SHOWWINDOW}), (std::vector<UINT>{WM_SHOWWINDOW, WM_SHOWWINDOW}));
}

TEST_F(ShowTest, CallsOnOtherProcessesWindowsAreRecorded) {
  HWND progman = Foreign("Progman", "Program Manager");
  ShowWindow(progman, SW_RESTORE);
  ASSERT_EQ(winsim::CountCalls("ShowWindow"), 1u);
  EXPECT_EQ(winsim::CallsTo("ShowWindow")[0].detail, "Progman 9");
  EXPECT_NE(winsim::WindowStyle(progman) & WS_VISIBLE, 0);
}

TEST_F(ShowTest, AChildIsVisibleOnlyUnderAVisibleParent) {
  HWND frame = Frame();
  HWND child = CreateWindowExA(0, "TestChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, frame, nullptr, nullptr,
                               nullptr);
  EXPECT_FALSE(IsWindowVisible(child));
  ShowWindow(frame, SW_SHOWNORMAL);
  EXPECT_TRUE(IsWindowVisible(child));
}

using TextTest = WindowTest;

TEST_F(TextTest, TitlesAreReadAndWrittenWithTruncation) {
  HWND frame = Frame("Deskplan");
  char text[5];
  EXPECT_EQ(GetWindowTextA(frame, text, sizeof text), 4);
  EXPECT_STREQ(text, "Desk");
  EXPECT_TRUE(SetWindowTextA(frame, "Autre"));
  EXPECT_EQ(winsim::WindowTitle(frame), "Autre");
  EXPECT_EQ(SendMessageA(frame, WM_GETTEXTLENGTH, 0, 0), 5);
}

}  // namespace
}  // namespace winsim_windows_test
