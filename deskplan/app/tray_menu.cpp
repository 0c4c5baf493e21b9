#include "deskplan/app/tray_menu.h"

#include <string>

#include "deskplan/app/menu_commands.h"
#include "deskplan/app/program_state.h"
#include "deskplan/layout/layout_name.h"

namespace {

const UINT kDefaultPosition = 14;

std::string StateText(bool on) { return on ? "active" : "non active"; }

// MF_CHECKED when the flag is on.
UINT Check(bool on) { return on ? MF_CHECKED : MF_UNCHECKED; }

void AddItem(HMENU menu, UINT flags, WORD id, const std::string &text) {
  AppendMenuA(menu, MF_STRING | flags, id, text.c_str());
}

void AddSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

}  // namespace

UniqueMenu BuildTrayMenu() {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  HMENU handle = menu.Get();
  const std::string layoutName = GetLayoutName();
  AddItem(handle, 0, CMD_SAVE, "Enregistrer le bureau actuel\t[" + layoutName + "]");
  AddSeparator(handle);
  AddItem(handle, 0, CMD_RESTORE, "Restaurer le bureau actuel\t[" + layoutName + "]");
  AddSeparator(handle);
  AddItem(handle, Check(AppOptions.restoreAtStartup), CMD_STARTUP,
          "Restauration au démarrage\t[" + StateText(AppOptions.restoreAtStartup) + "]");
  AddItem(handle, Check(AppOptions.autoRestore), CMD_AUTOMATIC,
          "Restauration automatique\t[" + StateText(AppOptions.autoRestore) + "]");
  AddSeparator(handle);
  // What the desktop holds now, not what was asked for.
  AddItem(handle, Check(protectionInForce) | (AppOptions.legacyMode ? MF_GRAYED : 0), CMD_PROTECTION,
          "Protection des noms d'icônes\t[" + StateText(protectionInForce) + "]");
  AddSeparator(handle);
  AddItem(handle, 0, CMD_HELP, "Aide de Deskplan");
  AddItem(handle, 0, CMD_WEBSITE, "Site Internet de l'auteur");
  AddSeparator(handle);
  AddItem(handle, 0, CMD_ABOUT, "A propos de Deskplan");
  AddSeparator(handle);
  AddItem(handle, 0, CMD_QUIT, "Quitter et fermer Deskplan");
  SetMenuDefaultItem(handle, kDefaultPosition, TRUE);
  return menu;
}

void OpenTrayMenu(HWND window) {
  POINT cursor = {};
  GetCursorPos(&cursor);
  UniqueMenu menu = BuildTrayMenu();
  if (!menu) return;
  SetForegroundWindow(window);
  if (TrackPopupMenu(menu.Get(), TPM_BOTTOMALIGN | TPM_RIGHTALIGN, cursor.x, cursor.y, 0, window, nullptr))
    SetForegroundWindow(window);
}
