// Deskplan's command-line switches, run in the order given.
#pragma once

// True when an action switch ran, after which the program ends.
bool ProcessCommandLine();
