// The fault sweep: a scenario runs once to count the calls that can fail,
// then once per call with that call failing, and once per message the shell's
// view answers with the shell's process ending right after it. After every
// run the same promises are checked: nothing escapes, nothing is left open,
// the stored layout is the old one or the new one, whole, the view is
// unlocked and redrawing, and a run that did not do its job told the user.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tray_world.h"

struct SweepScenario {
  std::string name;
  // Arranges the machine after a fresh start (the fixture's SetUp has run);
  // answers the shell's desktop.
  std::function<winsim::ShellDesktop()> arrange;
  // Runs the program (or the routine) and answers its exit code.
  std::function<int()> run;
  // What the scenario is for, as text: equal to the fault-free run's when the
  // job was done. Defaults to the icons' positions.
  std::function<std::string(const winsim::ShellDesktop &)> effect;
  // Every failure that keeps the job from being done must be told: none of
  // the layout's and options' silent failures applies.
  bool strict = false;
  // Promises of the scenario's own, checked after every run with its exit
  // code: the broken one as text, or the empty text.
  std::function<std::string(int exitCode)> verdict;
};

struct SweepReport {
  int injectedCalls = 0;     // runs with one call failing
  int shellEndings = 0;      // runs with the shell's process ending
  int failedJobsTold = 0;    // runs that did not do the job and said so
  int jobsDoneAnyway = 0;    // runs whose fault did not keep the job from being done
  int silentByDesign = 0;         // jobs not done by a failure meant to pass unsaid
  std::vector<std::string> findings;  // broken promises, one line each
};

class FaultSweep : public TrayWorld {
 protected:
  SweepReport Sweep(const SweepScenario &scenario);
  // The values of the current display size's layout, as text (name, type,
  // data), or "absent".
  static std::string StoredLayout();
  static std::string IconPositions(const winsim::ShellDesktop &desktop);
};
