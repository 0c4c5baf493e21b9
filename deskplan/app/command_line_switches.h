// Deskplan's command-line switches, run in the order given.
#pragma once

struct CommandLineOutcome {
  bool actionRan = false;  // an action switch was met: the program then ends
  bool failed = false;     // one of them did not do its job: exit code 1
};

// Runs every switch, each one whatever became of the ones before it. A save
// or restore that breaks off shows the application error box unless quiet.
CommandLineOutcome ProcessCommandLine();
