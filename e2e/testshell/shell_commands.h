// The test shell's line protocol. Replies, one command at a time:
//   count              -> "count N"
//   items              -> "item I X Y CAPTION" for each item, then "end"
//   item I             -> "item I X Y CAPTION" or "error no-item"
//   move I X Y         -> "ok" or "error no-item"
//   shift DX DY        -> every icon moved by (DX, DY), drawn once -> "shifted N"
//   style              -> "style 0xHHHHHHHH" (the list view's window style)
//   windows            -> "windows host=0x.. view=0x.. list=0x.."
//   pid                -> "pid N" (the Windows process id)
//   screen             -> "screen W H" (the virtual screen's size)
//   box                -> "box TEXT" for a message box captioned "Deskplan" of any
//                         process (TEXT escaped like captions), or "error no-box"
//   answer ID          -> the box gets the button ID (1 = OK, 6 = Yes, 7 = No) ->
//                         "ok" or "error no-box"
//   tray               -> "tray 0x.." when a window of class "Deskplan" exists,
//                         or "error no-tray"
//   closetray          -> WM_CLOSE posted to it -> "ok" or "error no-tray"
//   arena              -> "arena served=N passed=M" (--shared-arena mode)
//   paints             -> "paints N redraw R": WM_PAINTs the list view handled so
//                         far, and R = 1 when its redraw is on (WM_SETREDRAW)
//   quit               -> "bye", then the shell ends with exit code 0
// and the commands of tray_commands.h, hostile_commands.h, desktop_arrival.h
// and own_relayout.h. While the desktop's windows do not exist (a late desktop,
// a restart) the commands about its list view answer "error no-desktop".
// CAPTION is escaped as in e2e/protocol/caption_escape.h.
#pragma once

#include <string>

#include "shell_desktop.h"

namespace testshell {

// Runs one command line; sets `quit` when the shell should end.
std::string RunCommand(const ShellDesktop& desktop, const std::string& line, bool& quit);

}  // namespace testshell
