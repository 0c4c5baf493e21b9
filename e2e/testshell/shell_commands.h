// The test shell's line protocol. Replies, one command at a time:
//   count              -> "count N"
//   items              -> "item I X Y CAPTION" for each item, then "end"
//   item I             -> "item I X Y CAPTION" or "error no-item"
//   move I X Y         -> "ok" or "error no-item"
//   style              -> "style 0xHHHHHHHH" (the list view's window style)
//   windows            -> "windows host=0x.. view=0x.. list=0x.."
//   pid                -> "pid N" (the Windows process id)
//   quit               -> "bye", then the shell ends with exit code 0
// CAPTION is escaped as in e2e/protocol/caption_escape.h.
#pragma once

#include <string>

#include "shell_desktop.h"

namespace testshell {

// Runs one command line; sets `quit` when the shell should end.
std::string RunCommand(const ShellDesktop& desktop, const std::string& line, bool& quit);

}  // namespace testshell
