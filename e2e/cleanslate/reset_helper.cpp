// A small win64 helper for the Cleanslate end-to-end tests, run under Wine:
//   wait                  runs until it is ended (copied as "explorer.exe", the stand-in shell)
//   window                shows a top-level window until the session ends it (the log-off witness)
//   box <caption>         prints "box " and the text of the message box with that caption
//   answer <caption> <id> presses a button of that box (IDYES 6, IDNO 7, IDOK 1)
//   link <key> <target>   makes <key> under HKEY_CURRENT_USER a registry link to the native name <target>
//   run <program> <args>  starts the program, prints "started <id>", waits for it, prints "exit <code>"
//                         (the Windows exit code, which a process ended by another keeps only on this side)
//   session               prints the session of this process and of the process id given after it
// Exit code 0 on success, 1 when there is no such box or the call failed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../protocol/caption_escape.h"

namespace {

HWND FindBox(const char *caption) { return FindWindowA("#32770", caption); }

int PrintBox(const char *caption) {
  HWND box = FindBox(caption);
  if (!box) return 1;
  char text[4096] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  // Escaped to printable ASCII, so the reply stays on one line.
  std::printf("box %s\n", e2e::EscapeCaption(text).c_str());
  return 0;
}

int Answer(const char *caption, int button) {
  HWND box = FindBox(caption);
  if (!box) return 1;
  return PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0) ? 0 : 1;
}

LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int Witness() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WitnessProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "CleanslateWitness";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "CleanslateWitness", "Cleanslate witness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                                100, 300, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

int MakeLink(const char *keyPath, const char *target) {
  HKEY key = nullptr;
  LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_CREATE_LINK,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    std::printf("create %ld\n", result);
    return 1;
  }
  std::wstring wide;
  for (const char *c = target; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  result = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE *>(wide.data()),
                          static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
  RegCloseKey(key);
  std::printf("link %ld\n", result);
  return result == ERROR_SUCCESS ? 0 : 1;
}

int RunAndReport(int argc, char **argv) {
  std::string commandLine;
  for (int i = 2; i < argc; ++i) commandLine += std::string(i > 2 ? " " : "") + "\"" + argv[i] + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("error %lu\n", GetLastError());
    return 1;
  }
  std::printf("started %lu\n", process.dwProcessId);
  std::fflush(stdout);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  std::printf("exit %lu\n", code);
  std::fflush(stdout);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

int PrintSessions(const char *otherProcess) {
  DWORD own = 0, other = 0;
  BOOL ownOk = ProcessIdToSessionId(GetCurrentProcessId(), &own);
  DWORD otherId = otherProcess ? static_cast<DWORD>(std::strtoul(otherProcess, nullptr, 10)) : 0;
  BOOL otherOk = ProcessIdToSessionId(otherId, &other);
  std::printf("session %d %lu %d %lu\n", ownOk, own, otherOk, other);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "wait") {
    for (;;) Sleep(1000);
  }
  if (mode == "window") return Witness();
  if (mode == "box" && argc == 3) return PrintBox(argv[2]);
  if (mode == "answer" && argc == 4) return Answer(argv[2], std::atoi(argv[3]));
  if (mode == "link" && argc == 4) return MakeLink(argv[2], argv[3]);
  if (mode == "run" && argc > 2) return RunAndReport(argc, argv);
  if (mode == "session") return PrintSessions(argc > 2 ? argv[2] : nullptr);
  std::fprintf(stderr, "usage: reset_helper wait|window|box <caption>|answer <caption> <id>|link <key> <target>\n");
  return 2;
}
