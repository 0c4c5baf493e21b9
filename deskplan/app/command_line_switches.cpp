#include "deskplan/app/command_line_switches.h"

#include <windows.h>

#include "common/command_line.h"
#include "deskplan/app/export_registry_file.h"
#include "deskplan/app/icon_name_protection.h"
#include "deskplan/app/program_state.h"
#include "deskplan/layout/layout_command.h"

bool ProcessCommandLine() {
  bool actionRan = false;
  bool exportFailed = false;
  for (std::string argument : CommandArguments(GetCommandLineA())) {
    CharUpperBuffA(argument.data(), static_cast<DWORD>(argument.size()));
    if (argument == "/NOPROMPT") {
      AppOptions.quiet = true;
    } else if (argument == "/AUTOLOAD") {
      RunLayoutCommand(kRestoreLayout);
      actionRan = true;
    } else if (argument == "/AUTOSAVE") {
      RunLayoutCommand(kSaveLayout);
      actionRan = true;
    } else if (argument == "/EXPORT") {
      if (!ExportRegistryFile()) exportFailed = true;
      actionRan = true;
    } else if (argument == "/PROTECTED") {
      AppOptions.protectIconNames = true;
      ApplyIconNameProtection(true);
      actionRan = true;
    }
  }
  // A failed export shows nothing; its exit code tells a script that ran it.
  if (exportFailed) ExitProcess(1);
  return actionRan;
}
