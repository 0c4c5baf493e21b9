// What the window manager does that the programs rely on and that is easy to
// get wrong: enumeration orders, search rules, window data, the quit message,
// closing and the drawing lock. Only the real API, with windows of our own.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

namespace {

struct Event {
  HWND window;
  UINT message;
};

std::vector<Event> &Events() {
  static std::vector<Event> events;
  return events;
}

LRESULT CALLBACK ContractProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY || message == WM_NCDESTROY || message == WM_CLOSE) Events().push_back({window, message});
  if (message == WM_CREATE) {
    auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
    if (create->lpCreateParams) return -1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK StopAtFirst(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return FALSE;
}

const char kFrameClass[] = "WindowsContractFrame";
const char kChildClass[] = "WindowsContractChild";

class WindowsContract : public ::testing::Test {
 protected:
  void SetUp() override {
    Events().clear();
    for (const char *name : {kFrameClass, kChildClass}) {
      WNDCLASSA windowClass = {};
      windowClass.lpfnWndProc = ContractProc;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = name;
      ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
  }

  void TearDown() override {
    for (HWND window : created_)
      if (IsWindow(window)) DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_TRUE(UnregisterClassA(kFrameClass, GetModuleHandleA(nullptr)));
    EXPECT_TRUE(UnregisterClassA(kChildClass, GetModuleHandleA(nullptr)));
  }

  HWND Frame(const char *title, void *createParam = nullptr) {
    HWND window = CreateWindowExA(0, kFrameClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), createParam);
    if (window) created_.push_back(window);
    return window;
  }

  static HWND Child(HWND parent, const char *title, const char *className = kChildClass) {
    return CreateWindowExA(0, className, title, WS_CHILD, 0, 0, 10, 10, parent, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
  }

 private:
  std::vector<HWND> created_;
};

TEST_F(WindowsContract, EnumChildWindowsWalksDescendantsDepthFirst) {
  HWND frame = Frame("tree");
  HWND first = Child(frame, "first");
  HWND nested = Child(first, "nested");
  HWND second = Child(frame, "second");
  std::vector<HWND> seen;
  EnumChildWindows(frame, CollectWindow, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{first, nested, second}));

  seen.clear();
  EXPECT_FALSE(EnumChildWindows(frame, StopAtFirst, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_EQ(seen, std::vector<HWND>{first});
}

// Windows documents a null parent as EnumWindows; either way the walk never
// goes below the top-level windows.
TEST_F(WindowsContract, EnumChildWindowsWithoutParentNeverReachesChildWindows) {
  HWND frame = Frame("top");
  HWND child = Child(frame, "below");
  std::vector<HWND> seen;
  EnumChildWindows(nullptr, CollectWindow, reinterpret_cast<LPARAM>(&seen));
  for (HWND window : seen) EXPECT_NE(window, child);
}

TEST_F(WindowsContract, NewTopLevelWindowsComeFirst) {
  HWND older = Frame("older");
  HWND newer = Frame("newer");
  std::vector<HWND> seen;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&seen));
  std::vector<HWND> ours;
  for (HWND window : seen)
    if (window == older || window == newer) ours.push_back(window);
  EXPECT_EQ(ours, (std::vector<HWND>{newer, older}));
  EXPECT_EQ(FindWindowA(kFrameClass, nullptr), newer);
}

TEST_F(WindowsContract, FindWindowMatchesClassAndTitleIgnoringCaseNullMeaningAny) {
  HWND frame = Frame("Contract Title");
  EXPECT_EQ(FindWindowA(kFrameClass, "Contract Title"), frame);
  EXPECT_EQ(FindWindowA("windowscontractframe", nullptr), frame);
  EXPECT_EQ(FindWindowA(nullptr, "contract title"), frame);
  EXPECT_EQ(FindWindowA(kFrameClass, "Another Title"), nullptr);
  Child(frame, "child title");
  EXPECT_EQ(FindWindowA(kChildClass, nullptr), nullptr);  // top-level windows only
}

TEST_F(WindowsContract, FindWindowExWalksDirectChildrenInCreationOrder) {
  HWND frame = Frame("parent");
  HWND first = Child(frame, "first");
  HWND other = Child(frame, "other", kFrameClass);
  HWND second = Child(frame, "second");
  Child(other, "grandchild");
  EXPECT_EQ(FindWindowExA(frame, nullptr, kChildClass, nullptr), first);
  EXPECT_EQ(FindWindowExA(frame, first, kChildClass, nullptr), second);
  EXPECT_EQ(FindWindowExA(frame, second, kChildClass, nullptr), nullptr);
}

TEST_F(WindowsContract, GetClassNameTruncatesToTheBuffer) {
  HWND frame = Frame("name");
  char full[260];
  EXPECT_EQ(GetClassNameA(frame, full, sizeof full), static_cast<int>(sizeof kFrameClass - 1));
  EXPECT_STREQ(full, kFrameClass);
  char small[5];
  EXPECT_EQ(GetClassNameA(frame, small, sizeof small), 4);
  EXPECT_STREQ(small, "Wind");
}

TEST_F(WindowsContract, SetWindowLongAnswersThePreviousValueAndKeepsTheError) {
  HWND frame = Frame("data");
  HWND child = Child(frame, "styled");
  LONG style = GetWindowLongA(child, GWL_STYLE);
  EXPECT_EQ(style, static_cast<LONG>(WS_CHILD));
  SetLastError(0);
  EXPECT_EQ(SetWindowLongA(child, GWL_STYLE, style | 0x0100), style);
  EXPECT_EQ(GetWindowLongA(child, GWL_STYLE), style | 0x0100);
  EXPECT_EQ(SetWindowLongA(child, GWLP_USERDATA, 7), 0);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(SetWindowLongA(child, GWLP_USERDATA, 8), 7);

  EXPECT_EQ(GetWindowLongA(child, 12345), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  DestroyWindow(child);
  SetLastError(0);
  EXPECT_EQ(SetWindowLongA(child, GWL_STYLE, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowsContract, OwnWindowsBelongToThisProcessAndThread) {
  DWORD process = 0;
  EXPECT_EQ(GetWindowThreadProcessId(Frame("owner"), &process), GetCurrentThreadId());
  EXPECT_EQ(process, GetCurrentProcessId());
}

TEST_F(WindowsContract, RegisteringAClassTwiceFailsWhateverTheCase) {
  WNDCLASSA again = {};
  again.lpfnWndProc = ContractProc;
  again.hInstance = GetModuleHandleA(nullptr);
  again.lpszClassName = "WINDOWSCONTRACTFRAME";
  EXPECT_EQ(RegisterClassA(&again), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

TEST_F(WindowsContract, CreateAnsweringMinusOneFailsTheCreation) {
  int refuse = 1;
  EXPECT_EQ(Frame("refused", &refuse), nullptr);
  EXPECT_EQ(FindWindowA(kFrameClass, "refused"), nullptr);
}

TEST_F(WindowsContract, QuitComesOnlyAfterEveryPostedMessage) {
  HWND frame = Frame("queue");
  PostMessageA(frame, WM_USER + 1, 0, 0);
  PostQuitMessage(3);
  PostMessageA(frame, WM_USER + 2, 0, 0);
  std::vector<UINT> order;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0))
    if (msg.message >= WM_USER) order.push_back(msg.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowsContract, PostingToAnInvalidWindowFails) {
  HWND frame = Frame("gone");
  DestroyWindow(frame);
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(frame, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowsContract, DefWindowProcDestroysOnCloseParentFirstThenNcDestroyChildrenFirst) {
  HWND frame = Frame("closing");
  HWND child = Child(frame, "child");
  PostMessageA(frame, WM_CLOSE, 0, 0);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  std::vector<std::pair<HWND, UINT>> seen;
  for (auto &event : Events()) seen.push_back({event.window, event.message});
  EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{frame, WM_CLOSE},
                                                       {frame, WM_DESTROY},
                                                       {child, WM_DESTROY},
                                                       {child, WM_NCDESTROY},
                                                       {frame, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowsContract, PostedMessagesDieWithTheirWindow) {
  HWND frame = Frame("dropped");
  PostMessageA(frame, WM_USER + 5, 0, 0);
  DestroyWindow(frame);
  MSG msg;
  bool found = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) found = found || msg.message == WM_USER + 5;
  EXPECT_FALSE(found);
}

TEST_F(WindowsContract, ShowWindowAnswersThePreviousVisibility) {
  HWND frame = Frame("shown");
  EXPECT_FALSE(ShowWindow(frame, SW_HIDE));
  EXPECT_FALSE(ShowWindow(frame, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(ShowWindow(frame, SW_HIDE));
}

TEST_F(WindowsContract, LockWindowUpdateHoldsOneWindowAtATime) {
  HWND first = Frame("first lock");
  HWND second = Frame("second lock");
  EXPECT_TRUE(LockWindowUpdate(first));
  EXPECT_FALSE(LockWindowUpdate(second));
  EXPECT_FALSE(LockWindowUpdate(first));
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  EXPECT_TRUE(LockWindowUpdate(second));
  EXPECT_TRUE(LockWindowUpdate(nullptr));
}

}  // namespace
