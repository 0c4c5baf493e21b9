#include <string>
#include <vector>

#include "test_windows.h"
#include "winsim/trace.h"

namespace winsim_windows_test {
namespace {

std::vector<HWND> Enumerated(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

using CreationTest = WindowTest;

TEST_F(CreationTest, SendsNcCreateThenCreateWithTheCreationData) {
  int data = 5;
  HWND window = CreateWindowExA(0, "TestFrame", "Deskplan", WS_OVERLAPPEDWINDOW, 1, 2, 3, 4, nullptr, nullptr,
                                nullptr, &data);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(MessagesAmong({WM_NCCREATE, WM_CREATE}), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_EQ(winsim::WindowTitle(window), "Deskplan");
  DWORD process = 0;
  EXPECT_EQ(GetWindowThreadProcessId(window, &process), GetCurrentThreadId());
  EXPECT_EQ(process, GetCurrentProcessId());
}

TEST_F(CreationTest, ClassNamesIgnoreCaseAndUnknownClassesFail) {
  EXPECT_NE(CreateWindowExA(0, "testframe", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  WNDCLASSA again = {};
  again.lpszClassName = "TESTFRAME";
  EXPECT_EQ(RegisterClassA(&again), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

TEST_F(CreationTest, CreateAnsweringMinusOneDestroysTheWindowAndFails) {
  CreateAnswer() = -1;
  EXPECT_EQ(Frame(), nullptr);
  EXPECT_EQ(MessagesAmong({WM_NCCREATE, WM_CREATE, WM_NCDESTROY}),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_NCDESTROY}));
  EXPECT_TRUE(winsim::ProgramWindows().empty());
  EXPECT_EQ(FindWindowA("TestFrame", nullptr), nullptr);
}

TEST_F(CreationTest, AChildNeedsAValidParent) {
  EXPECT_EQ(Child(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(Child(reinterpret_cast<HWND>(0x4242)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(CreationTest, InjectedFaultFailsCreationWithThatCode) {
  winsim::FailNext("CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(Frame(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_NE(Frame(), nullptr);
}

using DestructionTest = WindowTest;

TEST_F(DestructionTest, DestroyReachesTheWindowThenItsChildrenAndInvalidatesThem) {
  HWND frame = Frame();
  HWND child = Child(frame);
  HWND grandchild = Child(child);
  Log().clear();
  ASSERT_TRUE(DestroyWindow(frame));
  std::vector<std::pair<HWND, UINT>> seen;
  for (auto &entry : Log()) seen.push_back({entry.window, entry.message});
  EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{frame, WM_DESTROY},
                                                       {child, WM_DESTROY},
                                                       {grandchild, WM_DESTROY},
                                                       {grandchild, WM_NCDESTROY},
                                                       {child, WM_NCDESTROY},
                                                       {frame, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_FALSE(DestroyWindow(frame));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DestructionTest, WindowsOfOtherProcessesCannotBeDestroyed) {
  HWND progman = Foreign("Progman", "Program Manager");
  EXPECT_FALSE(DestroyWindow(progman));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsWindow(progman));
}

TEST_F(DestructionTest, LeakedWindowsAreListedUntilReset) {
  HWND frame = Frame();
  HWND child = Child(frame);
  Foreign("Progman");
  EXPECT_EQ(winsim::ProgramWindows(), (std::vector<HWND>{frame, child}));
  winsim::Reset();
  EXPECT_TRUE(winsim::ProgramWindows().empty());
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(winsim::RegisteredClasses().empty());
}

TEST_F(DestructionTest, ARemovedForeignWindowTakesItsDescendants) {
  HWND progman = Foreign("Progman");
  HWND view = Foreign("SHELLDLL_DefView", "", progman);
  HWND list = Foreign("SysListView32", "FolderView", view);
  winsim::RemoveForeignWindow(view);
  EXPECT_FALSE(IsWindow(view));
  EXPECT_FALSE(IsWindow(list));
  EXPECT_TRUE(Enumerated(progman).empty());
}

using EnumerationTest = WindowTest;

TEST_F(EnumerationTest, ChildWindowsComeDepthFirstInCreationOrder) {
  HWND progman = Foreign("Progman", "Program Manager");
  HWND view = Foreign("SHELLDLL_DefView", "", progman);
  HWND list = Foreign("SysListView32", "FolderView", view);
  HWND header = Foreign("SysHeader32", "", list);
  HWND second = Foreign("SHELLDLL_DefView", "", progman);
  EXPECT_EQ(Enumerated(progman), (std::vector<HWND>{view, list, header, second}));
  EXPECT_EQ(Enumerated(view), (std::vector<HWND>{list, header}));
}

TEST_F(EnumerationTest, TheWalkStopsWhenTheCallbackAnswersFalse) {
  HWND frame = Frame();
  HWND first = Child(frame);
  Child(frame);
  std::vector<HWND> seen;
  BOOL result = EnumChildWindows(
      frame,
      [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_FALSE(result);
  EXPECT_EQ(seen, std::vector<HWND>{first});
}

TEST_F(EnumerationTest, ANullParentEnumeratesTopLevelWindowsOnly) {
  HWND progman = Foreign("Progman", "Program Manager");
  Foreign("SHELLDLL_DefView", "", progman);
  HWND worker = Foreign("WorkerW");
  EXPECT_EQ(Enumerated(nullptr), (std::vector<HWND>{progman, worker}));
}

TEST_F(EnumerationTest, NewProgramWindowsComeBeforeOlderTopLevelWindows) {
  HWND progman = Foreign("Progman");
  HWND older = Frame("older");
  HWND newer = Frame("newer");
  std::vector<HWND> seen;
  EnumWindows(
      [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{newer, older, progman}));
  EXPECT_EQ(FindWindowA("TestFrame", nullptr), newer);
}

TEST_F(EnumerationTest, WindowsDestroyedDuringTheWalkAreSkipped) {
  HWND frame = Frame();
  HWND first = Child(frame);
  HWND second = Child(frame);
  struct Walk {
    HWND doomed;
    std::vector<HWND> seen;
  } walk{second, {}};
  EnumChildWindows(
      frame,
      [](HWND window, LPARAM data) {
        auto *state = reinterpret_cast<Walk *>(data);
        state->seen.push_back(window);
        DestroyWindow(state->doomed);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  EXPECT_EQ(walk.seen, std::vector<HWND>{first});
}

using FindTest = WindowTest;

TEST_F(FindTest, NullClassOrTitleMatchesAnyAndCaseIsIgnored) {
  HWND progman = Foreign("Progman", "Program Manager");
  HWND worker = Foreign("WorkerW", "");
  EXPECT_EQ(FindWindowA("Progman", "Program Manager"), progman);
  EXPECT_EQ(FindWindowA("PROGMAN", nullptr), progman);
  EXPECT_EQ(FindWindowA(nullptr, "program manager"), progman);
  EXPECT_EQ(FindWindowA("WorkerW", nullptr), worker);
  EXPECT_EQ(FindWindowA("Progman", "Other"), nullptr);
  EXPECT_EQ(FindWindowA(nullptr, nullptr), progman);
}

TEST_F(FindTest, FindWindowLooksAtTopLevelWindowsOnly) {
  HWND progman = Foreign("Progman");
  Foreign("SHELLDLL_DefView", "", progman);
  EXPECT_EQ(FindWindowA("SHELLDLL_DefView", nullptr), nullptr);
}

TEST_F(FindTest, FindWindowExWalksDirectChildrenAfterTheGivenOne) {
  HWND worker = Foreign("WorkerW");
  HWND first = Foreign("SHELLDLL_DefView", "", worker);
  HWND other = Foreign("Static", "", worker);
  HWND second = Foreign("SHELLDLL_DefView", "", worker);
  Foreign("SHELLDLL_DefView", "", other);  // a grandchild: not looked at
  EXPECT_EQ(FindWindowExA(worker, nullptr, "SHELLDLL_DefView", nullptr), first);
  EXPECT_EQ(FindWindowExA(worker, first, "SHELLDLL_DefView", nullptr), second);
  EXPECT_EQ(FindWindowExA(worker, second, "SHELLDLL_DefView", nullptr), nullptr);
  EXPECT_EQ(FindWindowExA(worker, nullptr, nullptr, nullptr), first);
  EXPECT_EQ(FindWindowExA(nullptr, nullptr, "WorkerW", nullptr), worker);
}

TEST_F(FindTest, AWindowsClassNameIsReadWithTruncation) {
  HWND view = Foreign("SHELLDLL_DefView");
  char name[260];
  EXPECT_EQ(GetClassNameA(view, name, sizeof name), 16);
  EXPECT_STREQ(name, "SHELLDLL_DefView");
  char small[6];
  EXPECT_EQ(GetClassNameA(view, small, sizeof small), 5);
  EXPECT_STREQ(small, "SHELL");
  EXPECT_EQ(GetClassNameA(reinterpret_cast<HWND>(0x4242), name, sizeof name), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(FindTest, ForeignWindowsBelongToTheirProcess) {
  winsim::ForeignWindow shell;
  shell.className = "Progman";
  shell.processId = 2000;
  shell.threadId = 2004;
  HWND progman = winsim::AddForeignWindow(shell);
  DWORD process = 0;
  EXPECT_EQ(GetWindowThreadProcessId(progman, &process), 2004u);
  EXPECT_EQ(process, 2000u);
}

}  // namespace
}  // namespace winsim_windows_test
