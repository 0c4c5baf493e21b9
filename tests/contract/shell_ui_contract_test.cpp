// What the tray relies on in menus, registered messages, file attributes and
// the notification area. Only the real API, with a window of our own.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

namespace {

TEST(MenuContract, ItemsKeepTheirOrderTextsStatesAndDefault) {
  HMENU menu = CreatePopupMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(AppendMenuA(menu, MF_STRING, 69, "Enregistrer\t[1024x768]"));
  EXPECT_TRUE(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(AppendMenuA(menu, MF_STRING | MF_CHECKED, 83, "D\xE9marrage"));
  EXPECT_TRUE(AppendMenuA(menu, MF_STRING | MF_CHECKED | MF_GRAYED, 80, "Protection"));
  EXPECT_TRUE(AppendMenuA(menu, MF_STRING, 81, "Quitter"));
  EXPECT_EQ(GetMenuItemCount(menu), 5);

  char text[64];
  EXPECT_EQ(GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION), 22);
  EXPECT_EQ(std::string(text), "Enregistrer\t[1024x768]");
  EXPECT_EQ(GetMenuStringA(menu, 83, text, sizeof text, MF_BYCOMMAND), 9);
  EXPECT_EQ(std::string(text), "D\xE9marrage");

  EXPECT_NE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
  EXPECT_EQ(GetMenuItemID(menu, 1), 0u);
  EXPECT_NE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED, 0u);
  UINT grey = GetMenuState(menu, 80, MF_BYCOMMAND);
  EXPECT_NE(grey & MF_GRAYED, 0u);
  EXPECT_NE(grey & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED | MF_SEPARATOR), 0u);

  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), static_cast<UINT>(-1)) << "no default until one is set";
  EXPECT_TRUE(SetMenuDefaultItem(menu, 4, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 4u);
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 81u);
  // A position with no item fails, and the old default is gone all the same.
  EXPECT_FALSE(SetMenuDefaultItem(menu, 5, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), static_cast<UINT>(-1));

  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(DestroyMenu(menu));
}

TEST(RegisteredMessageContract, OneNumberPerNameWhateverTheCase) {
  UINT first = RegisterWindowMessageA("TaskbarCreated");
  EXPECT_GE(first, 0xC000u);
  EXPECT_LE(first, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageA("TaskbarCreated"), first);
  EXPECT_EQ(RegisterWindowMessageA("TASKBARCREATED"), first);
  EXPECT_NE(RegisterWindowMessageA("DeskplanContractOther"), first);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

TEST(FileAttributesContract, AMissingFileInAnExistingFolderIsNotFound) {
  char folder[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::string path(folder, length);
  path = path.substr(0, path.find_last_of('\\') + 1) + "Deskplan-absent.hlp";
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

LRESULT CALLBACK TrayContractProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Adding an icon that is there already fails and leaves it, which makes a
// second add after "TaskbarCreated" harmless; removing one that is gone fails.
TEST(NotificationAreaContract, FirstVersionRecordAddsOnceAndRemovesOnce) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TrayContractProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "TrayContract";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, "TrayContract", "TrayContract", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);

  NOTIFYICONDATAA data = {};
  data.cbSize = static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE);
  data.hWnd = window;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = WM_USER + 100;
  std::strcpy(data.szTip, "Contrat");
  EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, sizeof(void *) == 8 ? 104u : 88u);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));

  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA("TrayContract", GetModuleHandleA(nullptr)));
}

}  // namespace
