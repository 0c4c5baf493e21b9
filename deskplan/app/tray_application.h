// Deskplan's main sequence: options, single instance, command line, then the
// hidden window and its message loop.
#pragma once

void RunTrayApplication();

// The first start at a display size stores the current icon positions.
void EnsureCurrentLayoutSaved();
