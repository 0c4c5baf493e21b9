// Cleanslate's whole run, called by WinMain: the reset once, exit code 0; an
// error that reaches here shows the application error box, exit code 1.
#pragma once

int RunCleanslate();
