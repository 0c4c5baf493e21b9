// The test shell's commands about Deskplan's tray, as seen from outside
// (Wine's notification area is found from X, with xdotool):
//   menu               -> "menu X Y W H" of the popup menu on screen, or
//                         "error no-menu"
//   untray             -> Deskplan's icon (its window, id 1) is taken out of
//                         the notification area, as when the shell ends ->
//                         "ok" or "error no-tray" / "error not-removed"
//   broadcast NAME     -> the registered message NAME posted to every
//                         top-level window -> "ok 0xHHHH"
//   displaychange W H  -> WM_DISPLAYCHANGE (32 bits, W x H) posted to Deskplan's
//                         window -> "ok" or "error no-tray"; the shell's own
//                         re-layout follows either way (own_relayout.h)
//   editlabel I        -> in-place editing of item I's caption asked of the list
//                         view (LVM_EDITLABELA) -> "editlabel started" (then
//                         cancelled) or "editlabel refused"
#pragma once

#include <string>
#include <vector>

#include "shell_desktop.h"

namespace testshell {

// False when the command is none of these.
bool RunTrayCommand(const ShellDesktop& desktop, const std::vector<std::string>& words, std::string& reply);

}  // namespace testshell
