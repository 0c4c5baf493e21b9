#include "deskplan/app/icon_name_protection.h"

#include <windows.h>
#include <commctrl.h>

#include "deskplan/app/option_store.h"
#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"

void ApplyIconNameProtection(bool persist) {
  DesktopListView = FindDesktopListView();
  if (!DesktopListView) return;
  LONG style = GetWindowLongA(DesktopListView, GWL_STYLE);
  if (style == 0) return;
  if (AppOptions.protectIconNames)
    style &= ~static_cast<LONG>(LVS_EDITLABELS);
  else
    style |= LVS_EDITLABELS;
  if (SetWindowLongA(DesktopListView, GWL_STYLE, style) != 0 && persist)
    WriteOption(kProtectionOption, AppOptions.protectIconNames);
}
