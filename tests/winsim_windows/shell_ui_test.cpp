// The simulated shell side: popup menus answered by the script, the
// notification area as the shell restarts, icon resources, ShellExecuteA.
#include <gtest/gtest.h>

#include <cstring>
#include <shellapi.h>

#include "test_windows.h"
#include "winsim/shell.h"

namespace {

class ShellUi : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

LRESULT CALLBACK Quiet(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND OwnWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = Quiet;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Owner";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "Owner", "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HMENU ThreeItems() {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 10, "Un");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 11, "Deux");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  return menu;
}

TEST_F(ShellUi, ChosenCommandIsPostedToTheOwnerAndGreyItemsCannotBeChosen) {
  HWND owner = OwnWindow();
  HMENU menu = ThreeItems();
  winsim::ChooseMenuCommands({10, 11, 99});
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(TrackPopupMenu(menu, TPM_RIGHTALIGN, 5, 6, 0, owner, nullptr));
  auto queued = winsim::QueuedMessages();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(queued[0].wParam, 10u);
  auto shown = winsim::ShownMenus();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].chosen, 10u);
  EXPECT_EQ(shown[1].chosen, 0u) << "grey";
  EXPECT_EQ(shown[2].chosen, 0u) << "absent";
  EXPECT_EQ(shown[3].chosen, 0u) << "no choice left: dismissed";
  EXPECT_EQ(shown[0].items.size(), 3u);
  EXPECT_EQ(shown[0].items[2].text, "");
  winsim::ChooseMenuCommands({10});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 10);
  EXPECT_EQ(winsim::QueuedMessages().size(), 1u) << "a returned command is not posted";
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_EQ(winsim::LiveMenuCount(), 0);
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

TEST_F(ShellUi, NotificationAreaKeepsOneIconPerWindowAndIdUntilTheShellRestarts) {
  HWND owner = OwnWindow();
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner;
  data.uID = 1;
  data.uFlags = NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = 1124;
  std::memset(data.szTip, 'x', sizeof data.szTip - 1);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  ASSERT_EQ(winsim::NotificationIcons().size(), 1u);
  EXPECT_EQ(winsim::NotificationIcons()[0].tip.size(), 63u) << "a first-version record holds 64 characters";
  data.cbSize = NOTIFYICONDATAA_V1_SIZE - 1;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;

  winsim::ClickNotificationIcon(WM_LBUTTONDOWN)();
  auto queued = winsim::QueuedMessages();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].message, 1124u);
  EXPECT_EQ(queued[0].wParam, 1u);
  EXPECT_EQ(queued[0].lParam, WM_LBUTTONDOWN);

  winsim::RestartShellTaskbar()();
  EXPECT_TRUE(winsim::NotificationIcons().empty());
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_THROW(winsim::ClickNotificationIcon(WM_LBUTTONDOWN)(), winsim::MessageLoopStarved);
}

TEST_F(ShellUi, IconsComeFromTheProgramsGroupsByNameInAnyCase) {
  winsim::SetProgramIcons({{"MAINICON", {48, 32, 16}}, {"MAINICON9X", {16}}});
  HINSTANCE self = GetModuleHandleA(nullptr);
  auto small = static_cast<HICON>(LoadImageA(self, "mainicon", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  auto large = static_cast<HICON>(LoadImageA(self, "MAINICON", IMAGE_ICON, 30, 30, LR_DEFAULTCOLOR));
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  auto live = winsim::LiveIcons();
  ASSERT_EQ(live.size(), 2u);
  EXPECT_EQ(live[0].size + live[1].size, 48) << "16 and the closest to 30, 32";
  EXPECT_EQ(LoadImageA(self, "AUTRE", IMAGE_ICON, 16, 16, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_TRUE(DestroyIcon(small));
  EXPECT_FALSE(DestroyIcon(small));
  EXPECT_TRUE(DestroyIcon(large));
  EXPECT_TRUE(winsim::LiveIcons().empty());
}

TEST_F(ShellUi, ShellExecuteFindsFilesByFullPathOrInTheCurrentDirectory) {
  winsim::AddExistingFile("C:\\Outils\\Deskplan.chm");
  auto opened = [](const char *file) {
    return reinterpret_cast<std::uintptr_t>(ShellExecuteA(nullptr, "open", file, "", "", SW_SHOWNORMAL)) > 32;
  };
  EXPECT_TRUE(opened("c:\\outils\\DESKPLAN.CHM"));
  EXPECT_FALSE(opened("Deskplan.chm")) << "the current directory is the system folder";
  winsim::SetCurrentDirectory("C:\\Outils");
  EXPECT_TRUE(opened("Deskplan.chm"));
  EXPECT_TRUE(opened("https://www.ostrafen.fr"));
  EXPECT_EQ(winsim::ShellExecuteCalls().size(), 4u);
  EXPECT_EQ(GetFileAttributesA("C:\\Outils\\Absent.hlp"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA("C:\\Outils\\Deskplan.chm"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(ShellUi, RegisteredMessagesAreBroadcastToTopLevelWindows) {
  HWND owner = OwnWindow();
  UINT seen = 0;
  static UINT *target = nullptr;
  target = &seen;
  SetWindowLongPtrA(owner, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                      if (message >= 0xC000) *target = message;
                      return DefWindowProcA(window, message, wParam, lParam);
                    }));
  winsim::BroadcastRegisteredMessage("TaskbarCreated")();
  EXPECT_EQ(seen, RegisterWindowMessageA("taskbarcreated"));
  EXPECT_TRUE(SetForegroundWindow(owner));
  EXPECT_EQ(winsim::ForegroundWindow(), owner);
  winsim::SetCursorPosition(3, 4);
  POINT point = {};
  EXPECT_TRUE(GetCursorPos(&point));
  EXPECT_EQ(point.x, 3);
  EXPECT_EQ(point.y, 4);
}

}  // namespace
