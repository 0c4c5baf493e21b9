#include "cleanslate/cleanslate_entry.h"

#include "cleanslate/registry_tree.h"
#include "cleanslate/reset_error.h"
#include "cleanslate/reset_procedure.h"
#include "cleanslate/shell_termination.h"

int RunCleanslate() {
  StartRegistryRun();
  ForgetProcessFunctions();
  try {
    RunReset();
  } catch (const ResetError &error) {
    ShowResetErrorBox(error);
    return 1;
  }
  return 0;
}
