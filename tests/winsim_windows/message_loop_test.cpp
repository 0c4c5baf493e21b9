#include "test_windows.h"
#include "winsim/trace.h"

namespace winsim_windows_test {
namespace {

// The loop every Win32 program runs; answers the WM_QUIT exit code.
WPARAM RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return msg.wParam;
}

using MessageQueueTest = WindowTest;

TEST_F(MessageQueueTest, QuitComesAfterEveryPostedMessageWhateverTheOrder) {
  HWND frame = Frame();
  PostMessageA(frame, WM_USER + 1, 0, 0);
  PostQuitMessage(3);
  PostMessageA(frame, WM_USER + 2, 0, 0);
  std::vector<UINT> order;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) order.push_back(msg.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(winsim::QuitPending());
}

// The clock moves only through Sleep and Elapse; timers and the world's
// events come in time order, and a timer alone does not keep a loop fed.
TEST_F(MessageQueueTest, ElapseDeliversTimersAndRunsEventsInTimeOrder) {
  HWND frame = Frame();
  const DWORD start = GetTickCount();
  std::vector<std::string> seen;
  auto at = [&](const std::string &what) { seen.push_back(what + "@" + std::to_string(GetTickCount() - start)); };
  ASSERT_EQ(SetTimer(frame, 5, 300, nullptr), 5u);
  winsim::ScheduleEvent(450, [&] { at("event"); });
  winsim::SetIdleScript({winsim::Elapse(700), [&] { at("end"); }});
  MSG msg;
  try {
    while (GetMessageA(&msg, nullptr, 0, 0))
      if (msg.message == WM_TIMER) at("timer " + std::to_string(msg.wParam));
  } catch (const winsim::MessageLoopStarved &) {
    at("starved");
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"timer 5@300", "event@450", "timer 5@600", "end@700", "starved@700"}));

  Sleep(250);
  EXPECT_EQ(GetTickCount() - start, 950u) << "the sleep alone moved the clock";
  EXPECT_TRUE(PeekMessageA(&msg, frame, 0, 0, PM_REMOVE)) << "due during the sleep";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_TRUE(DestroyWindow(frame));
  EXPECT_EQ(winsim::ActiveTimers(), 0u) << "the window took its timer along";
}

TEST_F(MessageQueueTest, PeekCanLeaveOrTakeAMessage) {
  HWND frame = Frame();
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  PostMessageA(frame, WM_USER, 1, 2);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(winsim::QueuedMessages().size(), 1u);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, frame);
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_EQ(msg.lParam, 2);
  EXPECT_TRUE(winsim::QueuedMessages().empty());
}

TEST_F(MessageQueueTest, FiltersSelectByWindowAndMessageRange) {
  HWND first = Frame();
  HWND second = Frame();
  PostMessageA(first, WM_USER, 0, 0);
  PostMessageA(second, WM_COMMAND, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, second, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(MessageQueueTest, PostingToAnInvalidWindowFails) {
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x4242), WM_CLOSE, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_TRUE(winsim::QueuedMessages().empty());
}

TEST_F(MessageQueueTest, MessagesOfADestroyedWindowAreDropped) {
  HWND frame = Frame();
  HWND other = Frame();
  PostMessageA(frame, WM_USER, 0, 0);
  PostMessageA(other, WM_USER, 0, 0);
  DestroyWindow(frame);
  ASSERT_EQ(winsim::QueuedMessages().size(), 1u);
  EXPECT_EQ(winsim::QueuedMessages()[0].hwnd, other);
}

TEST_F(MessageQueueTest, SendCallsTheProcedureAndAnswersItsResult) {
  HWND frame = Frame();
  Log().clear();
  EXPECT_EQ(SendMessageA(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Nouveau")), TRUE);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].message, static_cast<UINT>(WM_SETTEXT));
  EXPECT_EQ(winsim::WindowTitle(frame), "Nouveau");
}

TEST_F(MessageQueueTest, MessagesToAnotherProcessReachItsSimulation) {
  winsim::ForeignWindow view;
  view.className = "SysListView32";
  view.processId = 2000;
  std::vector<UINT> seen;
  view.proc = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    seen.push_back(message);
    return 42;
  };
  HWND list = winsim::AddForeignWindow(view);
  EXPECT_EQ(SendMessageA(list, 0x1004, 0, 0), 42);
  EXPECT_TRUE(PostMessageA(list, WM_USER, 0, 0));
  EXPECT_EQ(seen, (std::vector<UINT>{0x1004, WM_USER}));
  EXPECT_EQ(SendMessageA(Foreign("Progman"), WM_USER, 0, 0), 0);
  EXPECT_EQ(winsim::CountCalls("SendMessageA"), 2u);
}

using MessageLoopTest = WindowTest;

TEST_F(MessageLoopTest, CloseDestroysTheWindowWhoseDestroyEndsTheLoop) {
  QuitOnDestroy() = true;
  HWND frame = Frame();
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 7u);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(MessagesAmong({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_TRUE(winsim::ProgramWindows().empty());
}

TEST_F(MessageLoopTest, TheIdleScriptActsWhenTheLoopWouldWait) {
  QuitOnDestroy() = true;
  Frame();
  winsim::SetIdleScript({winsim::PostMenuCommand("TestFrame", 69), winsim::ChangeDisplayMode(1280, 1024, 16),
                         winsim::CloseProgramWindow("TestFrame")});
  EXPECT_EQ(RunMessageLoop(), 7u);
  EXPECT_EQ(winsim::RemainingIdleActions(), 0u);
  EXPECT_EQ(MessagesAmong({WM_COMMAND, WM_DISPLAYCHANGE, WM_CLOSE}),
            (std::vector<UINT>{WM_COMMAND, WM_DISPLAYCHANGE, WM_CLOSE}));
  for (auto &entry : Log()) {
    if (entry.message == WM_COMMAND) {
      EXPECT_EQ(LOWORD(entry.wParam), 69);
    }
    if (entry.message == WM_DISPLAYCHANGE) {
      EXPECT_EQ(entry.wParam, 16u);
    }
  }
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1024);
}

TEST_F(MessageLoopTest, ActionsRunOnlyWhenNothingIsQueued) {
  HWND frame = Frame();
  PostMessageA(frame, WM_USER, 0, 0);
  bool ran = false;
  winsim::SetIdleScript({[&] {
    ran = true;
    PostQuitMessage(0);
  }});
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_TRUE(ran);
}

TEST_F(MessageLoopTest, AStarvedLoopThrowsInsteadOfHanging) {
  Frame();
  winsim::SetIdleScript({winsim::PostMenuCommand("TestFrame", 65)});
  EXPECT_THROW(RunMessageLoop(), winsim::MessageLoopStarved);
  EXPECT_EQ(MessagesAmong({WM_COMMAND}).size(), 1u);
}

TEST_F(MessageLoopTest, TheStarvedLoopEscapesProductCatchBlocks) {
  bool caughtAsStandard = false;
  try {
    try {
      MSG msg;
      GetMessageA(&msg, nullptr, 0, 0);
    } catch (const std::exception &) {
      caughtAsStandard = true;
    }
  } catch (const winsim::MessageLoopStarved &starved) {
    EXPECT_FALSE(starved.detail.empty());
  }
  EXPECT_FALSE(caughtAsStandard);
}

TEST_F(MessageLoopTest, AnActionForAMissingWindowFailsTheTest) {
  winsim::SetIdleScript({winsim::CloseProgramWindow("Deskplan")});
  MSG msg;
  EXPECT_THROW(GetMessageA(&msg, nullptr, 0, 0), winsim::MessageLoopStarved);
}

TEST_F(MessageLoopTest, DefWindowProcClosesOnlyOnClose) {
  HWND frame = Frame();
  EXPECT_EQ(DefWindowProcA(frame, WM_COMMAND, 1, 0), 0);
  EXPECT_TRUE(IsWindow(frame));
  EXPECT_EQ(DefWindowProcA(frame, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(frame));
}

}  // namespace
}  // namespace winsim_windows_test
