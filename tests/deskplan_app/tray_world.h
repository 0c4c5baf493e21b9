// Deskplan's tray in a machine with a shell desktop, the program's icon
// resources and a notification area; the user clicks the icon and picks
// commands from the menu through idle actions.
#pragma once

#include <string>
#include <vector>

#include <shellapi.h>

#include "deskplan/app/menu_commands.h"
#include "program_world.h"
#include "winsim/shell.h"

const char kProgramPath[] = "C:\\Program Files\\Deskplan\\Deskplan.exe";
const UINT kTrayNotify = WM_USER + 100;

class TrayWorld : public ProgramWorld {
 protected:
  void SetUp() override {
    ProgramWorld::SetUp();
    winsim::SetProgramPath(kProgramPath);
    winsim::SetProgramIcons({{"MAINICON", {48, 32, 16}}, {"MAINICON9X", {16}}});
  }

  // A right click on the icon, then the command picked from the menu.
  static winsim::IdleAction Choose(UINT command) {
    return [command] {
      winsim::ChooseMenuCommands({command});
      winsim::ClickNotificationIcon(WM_RBUTTONDOWN)();
    };
  }
  // A right click, then the menu dismissed.
  static winsim::IdleAction OpenAndDismiss() { return winsim::ClickNotificationIcon(WM_RBUTTONDOWN); }

  // Runs the tray through these actions, once its start-up is done, then
  // quits from the menu.
  int RunThenQuit(std::vector<winsim::IdleAction> actions, const std::string &arguments = "") {
    actions.insert(actions.begin(), StartUpSettles());
    actions.push_back(Choose(CMD_QUIT));
    winsim::SetIdleScript(std::move(actions));
    return Run(arguments);
  }

  static std::vector<std::string> Texts(const winsim::ShownMenu &menu) {
    std::vector<std::string> texts;
    for (const auto &item : menu.items) texts.push_back(item.text);
    return texts;
  }

  static winsim::ShownMenu LastMenu() {
    auto menus = winsim::ShownMenus();
    if (menus.empty()) {
      ADD_FAILURE() << "no menu was shown";
      return {};
    }
    return menus.back();
  }

  // The text of the menu item with this id in the last menu shown.
  static std::string ItemText(UINT id) {
    for (const auto &item : LastMenu().items)
      if (item.id == id && !(item.flags & MF_SEPARATOR)) return item.text;
    return "(none)";
  }

  static DWORD OptionValue(const std::string &name) {
    auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kOptionsPath, name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return 0xFFFFFFFF;
    return static_cast<DWORD>(value->data[0] | value->data[1] << 8 | value->data[2] << 16 | value->data[3] << 24);
  }
  static bool OptionStored(const std::string &name) {
    return winsim::ReadRegistryValue(HKEY_CURRENT_USER, kOptionsPath, name).has_value();
  }
};
