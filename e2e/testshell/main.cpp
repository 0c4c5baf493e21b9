// testshell: plays the Windows shell's desktop for end-to-end tests under
// Wine. It builds the desktop window tree from its options, fills the list
// view from a fixture, places the icons once the list view has settled,
// prints "ready" and then answers the line protocol of shell_commands.h. A
// late desktop (desktop_arrival.h) prints "ready" at once: the channel then
// answers while the desktop does not exist yet.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../protocol/fixture_format.h"
#include "desktop_arrival.h"
#include "hostile_modes.h"
#include "own_relayout.h"
#include "shell_commands.h"
#include "shell_desktop.h"
#include "shell_options.h"
#include "std_channel.h"

namespace testshell {
namespace {

const UINT kCommandMessage = WM_APP + 1;

struct ShellState {
  ShellDesktop desktop;
  std::vector<e2e::FixtureIcon> icons;
  HWND control = nullptr;
};

ShellState* shell = nullptr;

// "ready", then the commands are read.
void OpenChannel() {
  WriteLine("ready");
  if (!StartCommandReader(shell->control, kCommandMessage)) {
    WriteLine("error no-reader-thread");
    PostQuitMessage(3);
  }
}

// The control window is message-only, so it is never seen by window
// enumeration: the desktop tree stays exactly what the options asked for.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kCommandMessage: {
      bool quit = false;
      WriteLine(RunCommand(shell->desktop, *reinterpret_cast<const std::string*>(lParam), quit));
      if (quit) PostQuitMessage(0);
      return 0;
    }
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[8192];
  DWORD got = 0;
  bool ok = true;
  contents.clear();
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0) contents.append(chunk, got);
  CloseHandle(file);
  return ok;
}

int Fail(const std::string& text) {
  WriteLine("error " + text);
  return 2;
}

int RunShell(HINSTANCE instance, int argc, char** argv) {
  ShellOptions options;
  std::string error;
  if (!ParseShellOptions(argc, argv, options, error)) return Fail(error);

  ShellState state;
  std::string text;
  if (!ReadWholeFile(options.fixturePath, text)) {
    return Fail("cannot read fixture " + options.fixturePath + " (error " + std::to_string(GetLastError()) + ")");
  }
  if (!e2e::ParseFixture(text, state.icons, error)) return Fail(error);
  SetHostileSettings(options.hostile);
  shell = &state;

  WNDCLASSA controlClass = {};
  controlClass.lpfnWndProc = ControlWindowProc;
  controlClass.hInstance = instance;
  controlClass.lpszClassName = "TestShellControl";
  RegisterClassA(&controlClass);
  const OwnedWindow control(
      CreateWindowExA(0, "TestShellControl", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
  if (control.get() == nullptr) return Fail("cannot create the control window");
  state.control = control.get();

  SetUpOwnRelayout(state.desktop, options);
  const bool late = options.lateDesktopMs >= 0;
  if (!BeginDesktopArrival(state.desktop, state.icons, options, instance, late ? nullptr : OpenChannel, error)) {
    return Fail(error);
  }
  if (late) OpenChannel();

  MSG message;
  int exitCode = 0;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  exitCode = static_cast<int>(message.wParam);
  shell = nullptr;
  return exitCode;
}

}  // namespace
}  // namespace testshell

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return testshell::RunShell(instance, __argc, __argv);
}
