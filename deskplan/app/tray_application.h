// Deskplan's main sequence: options, single instance, command line, then the
// hidden window and its message loop.
#pragma once

// Answers the exit code: 1 when a command-line switch did not do its job.
int RunTrayApplication();

// The first start at a display size stores the current icon positions.
void EnsureCurrentLayoutSaved();
