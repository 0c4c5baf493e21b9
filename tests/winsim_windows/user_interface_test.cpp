#include "test_windows.h"
#include "winsim/trace.h"
#include "winsim/ui.h"

namespace winsim_windows_test {
namespace {

using DrawingLockTest = WindowTest;

TEST_F(DrawingLockTest, OneWindowOfTheSystemAtATime) {
  HWND list = Foreign("SysListView32");
  HWND frame = Frame();
  EXPECT_TRUE(LockWindowUpdate(list));
  EXPECT_FALSE(LockWindowUpdate(frame));
  EXPECT_FALSE(LockWindowUpdate(list));
  EXPECT_EQ(winsim::LockedWindow(), list);
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  EXPECT_EQ(winsim::LockedWindow(), nullptr);
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  EXPECT_TRUE(LockWindowUpdate(frame));

  auto calls = winsim::LockWindowUpdateCalls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].className, "SysListView32");
  EXPECT_TRUE(calls[0].result);
  EXPECT_EQ(calls[1].window, frame);
  EXPECT_FALSE(calls[1].result);
  EXPECT_EQ(calls[3].window, nullptr);
  EXPECT_TRUE(calls[3].result);
}

TEST_F(DrawingLockTest, InvalidWindowsAndFaultsFail) {
  EXPECT_FALSE(LockWindowUpdate(reinterpret_cast<HWND>(0x4242)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  winsim::FailNext("LockWindowUpdate", ERROR_ACCESS_DENIED);
  EXPECT_FALSE(LockWindowUpdate(Frame()));
  EXPECT_EQ(winsim::LockedWindow(), nullptr);
}

TEST_F(DrawingLockTest, AWindowThatGoesAwayReleasesTheLock) {
  HWND frame = Frame();
  ASSERT_TRUE(LockWindowUpdate(frame));
  DestroyWindow(frame);
  EXPECT_EQ(winsim::LockedWindow(), nullptr);
  EXPECT_TRUE(LockWindowUpdate(Foreign("SysListView32")));
}

using MessageBoxTest = WindowTest;

TEST_F(MessageBoxTest, BoxesAreRecordedByteForByte) {
  const char text[] = "Veuillez désactiver l'option du bureau :\r\nAffichage : Réorganisation automatique";
  EXPECT_EQ(MessageBoxA(nullptr, text, "Deskplan", MB_ICONINFORMATION), IDOK);
  auto boxes = winsim::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text, text);
  EXPECT_EQ(boxes[0].text[10], '\xE9');  // Windows-1252 é
  EXPECT_EQ(boxes[0].caption, "Deskplan");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(boxes[0].answer, IDOK);
}

TEST_F(MessageBoxTest, ScriptedAnswersAreUsedInOrderThenDefaults) {
  winsim::AnswerMessageBoxes({IDNO, IDCANCEL});
  EXPECT_EQ(MessageBoxA(nullptr, "a", "Deskplan", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "b", "Deskplan", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(winsim::UnusedMessageBoxAnswers(), 0u);
  EXPECT_EQ(MessageBoxA(nullptr, "c", "Deskplan", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(winsim::MessageBoxes().size(), 3u);
}

TEST_F(MessageBoxTest, TheDefaultButtonFollowsTheBoxType) {
  EXPECT_EQ(winsim::DefaultButton(MB_OK), IDOK);
  EXPECT_EQ(winsim::DefaultButton(MB_OK | MB_DEFBUTTON2), IDOK);
  EXPECT_EQ(winsim::DefaultButton(MB_YESNO), IDYES);
  EXPECT_EQ(winsim::DefaultButton(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(winsim::DefaultButton(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(winsim::DefaultButton(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(winsim::DefaultButton(MB_RETRYCANCEL | MB_ICONERROR), IDRETRY);
  EXPECT_EQ(winsim::DefaultButton(MB_CANCELTRYCONTINUE | MB_DEFBUTTON3), IDCONTINUE);
}

TEST_F(MessageBoxTest, AnInvalidOwnerOrAFaultShowsNothing) {
  EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x4242), "x", "Deskplan", MB_OK), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  winsim::FailNext("MessageBoxA", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(MessageBoxA(nullptr, "x", "Deskplan", MB_OK), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(MessageBoxTest, ANullCaptionShowsAsError) {
  MessageBoxA(Frame(), nullptr, nullptr, MB_OK);
  EXPECT_EQ(winsim::MessageBoxes()[0].caption, "Error");
  EXPECT_EQ(winsim::MessageBoxes()[0].text, "");
}

}  // namespace
}  // namespace winsim_windows_test
