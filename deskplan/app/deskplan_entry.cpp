#include "deskplan/app/deskplan_entry.h"

#include "common/os_error.h"
#include "common/version_gate.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/tray_application.h"
#include "deskplan/view/virtalloc.h"

int RunDeskplan() {
  ResetProgramState();
  ResetRemoteMemoryFunctions();
  AppOptions.legacyMode = deskplan::IsLegacyWindows();
  // Later systems need the cross-process memory functions; without them there
  // is nothing this program can do.
  if (!AppOptions.legacyMode && !LoadRemoteMemoryFunctions()) return 0;
  try {
    return RunTrayApplication();
  } catch (const OsError &error) {
    // A restore at start-up broke off.
    ShowApplicationErrorBox(error);
    return 1;
  }
}
