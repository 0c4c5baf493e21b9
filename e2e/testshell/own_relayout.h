// The shell's own re-layout after a display change: the real shell lays the
// desktop's icons out again when the screen changes, after the same message
// Deskplan gets, and with many icons that keeps it busy for a while. Here,
// --relayout-ms D after each display change the shell passes on
// (`displaychange`), the icons go to a grid of the shell's own in
// --relayout-steps S steps, a share of the icons each, --relayout-step-ms T
// apart. A display change during a re-layout starts it again from its first
// step, so a burst gives one re-layout after its last message.
//   relayout -> "relayout off" (mode not chosen), "relayout pending" (from a
//               display change to the re-layout's last step), or
//               "relayout done N" (N re-layouts finished so far)
#pragma once

#include <string>
#include <vector>

#include "shell_desktop.h"
#include "shell_options.h"

namespace testshell {

void SetUpOwnRelayout(const ShellDesktop& desktop, const ShellOptions& options);
// Called with each display change; nothing happens unless the mode is on.
void ScheduleOwnRelayout();

// False when the command is none of these.
bool RunRelayoutCommand(const std::vector<std::string>& words, std::string& reply);

}  // namespace testshell
