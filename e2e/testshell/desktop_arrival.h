// How the test desktop comes into being, as the real shell's does at log-on
// and when it starts again: for a while no desktop window at all
// (--late-desktop-ms), then the host and its list view, the icons added in
// batches (--batch-size icons every --batch-ms; all at once by default). The
// first batch goes to the fixture's positions once the fresh view has had its
// one re-arrangement (--settle-ms after it shows), each later batch as it
// comes. Every list view made gets the shell's subclasses (shared arena,
// hostile modes, paint counter). Commands:
//   desktop      -> "desktop absent", "desktop filling N" (N icons in so far),
//                   "desktop complete N" or "desktop failed TEXT"
//   restart MS   -> the desktop's windows are destroyed at once and made again
//                   MS ms later, the icons in the shell's own arrangement (the
//                   fixture's); once the new windows show, "TaskbarCreated" is
//                   broadcast, as a shell that starts again does -> "ok"
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../protocol/fixture_format.h"
#include "shell_desktop.h"
#include "shell_options.h"

namespace testshell {

// Starts the arrival, at once or after options.lateDesktopMs; `firstComplete`
// runs once, when the first desktop holds every icon at its place. False, with
// `error`, when a desktop due at once cannot be made (a late one reports its
// failure through "desktop").
bool BeginDesktopArrival(ShellDesktop& desktop, const std::vector<e2e::FixtureIcon>& icons,
                         const ShellOptions& options, HINSTANCE instance, void (*firstComplete)(), std::string& error);

// False when the command is none of these.
bool RunArrivalCommand(const std::vector<std::string>& words, std::string& reply);

}  // namespace testshell
