#include "deskplan/app/icon_name_protection.h"

#include <windows.h>
#include <commctrl.h>

#include "deskplan/app/option_store.h"
#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"

namespace {

bool BringViewIntoLine() {
  DesktopListView = FindDesktopListView();
  // No view: nothing is protected, which is in line only when nothing is wanted.
  if (!DesktopListView) {
    protectionInForce = false;
    return !AppOptions.protectIconNames;
  }
  LONG style = GetWindowLongA(DesktopListView, GWL_STYLE);
  if (style != 0) {
    if (AppOptions.protectIconNames)
      style &= ~static_cast<LONG>(LVS_EDITLABELS);
    else
      style |= LVS_EDITLABELS;
    if (SetWindowLongA(DesktopListView, GWL_STYLE, style) != 0) {
      protectionInForce = AppOptions.protectIconNames;
      return true;
    }
  }
  // The view kept a style this program did not set: protection that was on
  // may still be, protection wanted is not known to be.
  if (AppOptions.protectIconNames) protectionInForce = false;
  return false;
}

}  // namespace

bool ApplyIconNameProtection(bool persist) {
  const bool inLine = BringViewIntoLine();
  if (persist) WriteOption(kProtectionOption, AppOptions.protectIconNames);
  return inLine;
}

void ShowProtectionNotApplied() {
  ShowNotice(AppOptions.protectIconNames
                 ? "La protection des noms d'icônes n'a pas pu être mise en place : le bureau est introuvable "
                   "ou refuse la modification.\r\nElle le sera dès que le bureau sera de nouveau disponible."
                 : "La protection des noms d'icônes n'a pas pu être retirée : le bureau refuse la modification.",
             MB_ICONWARNING, false);
}
