// The desktop reset, from the confirmation to the log-off.
#pragma once

// Asks, refuses too old a system, enables the token's privileges, repairs and
// clears the appearance values, deletes the two view trees, writes the
// desktop's folder flags, ends the shell and logs off. Every outcome is told
// to the user in a box; a failure stops the reset before the shell is ended.
void RunReset();

// Cleanslate's whole run, called by WinMain: the reset once, exit code 0; an
// error that reaches here shows the application error box, exit code 1.
int RunCleanslate();
