#include "deskplan/app/menu_commands.h"

#include <shellapi.h>

#include "common/enciphered_string.h"
#include "deskplan/app/desktop_wait.h"
#include "deskplan/app/enciphered_constants.h"
#include "deskplan/app/icon_name_protection.h"
#include "deskplan/app/option_store.h"
#include "deskplan/app/program_state.h"
#include "deskplan/layout/layout_command.h"

namespace {

// The folder of the program's own file, with its final backslash; empty when
// the name cannot be had whole.
std::string ProgramFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  std::string folder(path, length);
  size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? "" : folder.substr(0, slash + 1);
}

bool FileExists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void ShowAboutBox() {
  MessageBoxA(nullptr, "Deskplan 4.2.0.0\r\nOstrafen : chaque icône du bureau à sa place", kProgramName,
              MB_OK | MB_ICONINFORMATION);
}

void Open(HWND window, const std::string &target) {
  ShellExecuteA(window, "open", target.c_str(), "", "", SW_SHOWNORMAL);
}

}  // namespace

std::string HelpFilePath() {
  const std::string folder = ProgramFolder();
  if (AppOptions.legacyMode && FileExists(folder + "Deskplan.hlp")) return folder + "Deskplan.hlp";
  return folder + "Deskplan.chm";
}

void HandleMenuCommand(HWND window, WORD commandId) {
  switch (commandId) {
    // The user's own save or restore supersedes a restore still waiting.
    case CMD_SAVE:
      CancelDesktopWait(window);
      RunLayoutCommand(kSaveLayout);
      break;
    case CMD_RESTORE:
      CancelDesktopWait(window);
      RunLayoutCommand(kRestoreLayout);
      break;
    case CMD_STARTUP:
      AppOptions.restoreAtStartup = !AppOptions.restoreAtStartup;
      WriteOption(kStartupOption, AppOptions.restoreAtStartup);
      break;
    case CMD_AUTOMATIC:
      AppOptions.autoRestore = !AppOptions.autoRestore;
      WriteOption(kAutomaticOption, AppOptions.autoRestore);
      break;
    case CMD_PROTECTION:
      // The item shows the protection in force: choosing it asks for the
      // other state, which is the user's choice from now on.
      AppOptions.protectIconNames = !protectionInForce;
      if (!ApplyIconNameProtection(true)) ShowProtectionNotApplied();
      break;
    case CMD_HELP:
      Open(window, HelpFilePath());
      break;
    case CMD_WEBSITE:
      Open(window, "https://" + DecipherString(WebSiteAddress));
      break;
    case CMD_ABOUT:
      ShowAboutBox();
      break;
    case CMD_QUIT:
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}
