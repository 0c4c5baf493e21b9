// The fault sweep over Cleanslate's reset, answered "yes": it runs once to
// count the calls that can fail, then once per call with that call failing.
// After every run: nothing escapes and nothing is left open; every change
// made to the registry (keys, values, owners and access lists) is one the
// fault-free run makes too, in the reset's order (the second tree only once
// the first is gone, the folder flags only once both are, the shell ended
// only once the flags are written, the log-off only after the success box);
// and a run that did not do its job told the user.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reset_world.h"

// The registry paths the reset works on.
extern const char kAppearanceKey[];
extern const char kFirstTree[];
extern const char kSecondTree[];
extern const char kFolderFlagsKey[];

struct ResetScenario {
  std::string name;
  // Arranges the machine after a fresh start; answers the shell's process id.
  std::function<DWORD()> arrange;
  // Whether the fault-free run resets; when not, it must stop and say so.
  bool resets = true;
};

struct ResetSweepReport {
  int injectedCalls = 0;
  int failedJobsTold = 0;   // runs that did not do the job and said so
  int jobsDoneAnyway = 0;   // runs whose fault did not keep the job from being done
  int untoldBoxFailures = 0;  // the box that would have told could not be shown
  int silentLogOffFailures = 0;  // the log-off failed after the success box
  std::vector<std::string> findings;  // broken promises, one line each
};

class ResetSweep : public ResetWorld {
 protected:
  void TearDown() override {}
  ResetSweepReport Sweep(const ResetScenario &scenario);
};
