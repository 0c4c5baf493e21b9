// The calls the simulated system can fail, each with an error it plausibly
// gives for them, shared by every sweep.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

struct FallibleCall {
  const char *function;
  DWORD error;
};

const std::vector<FallibleCall> &FallibleCalls();

// Failures Deskplan is meant to pass over in silence: a layout or an option
// that cannot be read or written, a tray that cannot make its window, a quit
// message that is lost, a rename bit that cannot be changed, and the shared
// area's notice under /NOPROMPT.
bool SilentByDesign(const std::string &function);
