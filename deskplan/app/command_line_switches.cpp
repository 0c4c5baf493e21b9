#include "deskplan/app/command_line_switches.h"

#include <windows.h>

#include "common/command_line.h"
#include "common/os_error.h"
#include "deskplan/app/export_registry_file.h"
#include "deskplan/app/icon_name_protection.h"
#include "deskplan/app/program_state.h"
#include "deskplan/layout/desktop_settling.h"
#include "deskplan/layout/layout_command.h"

namespace {

// False when the command broke off; a script that runs a quiet command line
// learns it from the exit code, without a box to wait on.
bool RunLayoutSwitch(LayoutMode mode) {
  try {
    RunLayoutCommand(mode);
    return true;
  } catch (const OsError &error) {
    if (!AppOptions.quiet) ShowApplicationErrorBox(error);
    return false;
  }
}

}  // namespace

CommandLineOutcome ProcessCommandLine() {
  CommandLineOutcome outcome;
  for (std::string argument : CommandArguments(GetCommandLineA())) {
    CharUpperBuffA(argument.data(), static_cast<DWORD>(argument.size()));
    bool done = true;
    if (argument == "/NOPROMPT") {
      AppOptions.quiet = true;
      continue;
    } else if (argument == "/AUTOLOAD") {
      // Run at log-on, it may come before the desktop is there or filled.
      WaitUntilDesktopSettles(kDesktopStartSettling);
      done = RunLayoutSwitch(kRestoreLayout);
    } else if (argument == "/AUTOSAVE") {
      done = RunLayoutSwitch(kSaveLayout);
    } else if (argument == "/EXPORT") {
      done = ExportRegistryFile() == kExportComplete;
    } else if (argument == "/PROTECTED") {
      AppOptions.protectIconNames = true;
      done = ApplyIconNameProtection(true);
      if (!done) ShowProtectionNotApplied();
    } else {
      continue;
    }
    outcome.actionRan = true;
    if (!done) outcome.failed = true;
  }
  return outcome;
}
