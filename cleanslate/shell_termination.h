// Ends the shell (every process of the caller's own session whose executable
// name is the given one) and then the user's session.
#pragma once

#include <string>

// True only when at least one process matched and every matched process was
// ended (each with exit code 4). A process of that name whose session cannot
// be told is left running and counts as matched but not ended. Names are
// compared without regard to the case of the letters a to z.
bool TerminateProcessByName(const std::string &exeName);

// Forgets the looked-up toolhelp and session functions (at program start).
void ForgetProcessFunctions();

// Logs the user off once the reset is done; the answer is not examined.
void EndSession();
