// When the shell has finished with its desktop: after a change of display
// mode the shell lays the icons out again for the new size, at log-on and
// after a restart it fills a new view; a restore made meanwhile is undone by
// the shell. A wait watches the view until it has been quiet long enough.
#pragma once

#include <windows.h>

#include "deskplan/view/view_observer.h"

struct SettleRules {
  DWORD minimumDelay;  // from the start of the wait, however quiet the view
  DWORD quietPeriod;   // nothing changed for this long
  DWORD maximumWait;   // from the start: the wait ends, settled or not
  bool watchPositions;  // a moved item counts as a change, not only the count
};

// The view is read this often while a wait is on.
const DWORD kSettlePollInterval = 250;
// After the last change of display mode: the shell's own re-layout starts
// within moments of the message and moves icons in steps, each well inside
// the quiet period; a desktop that never calms down is restored after 20 s.
const SettleRules kDisplayChangeSettling = {2000, 1500, 20000, true};
// A desktop that is being made (log-on, shell restart): the view must exist
// and its item count must have stopped changing; a minute at most.
const SettleRules kDesktopStartSettling = {0, 1500, 60000, false};

// The stricter of two rules, field by field: a wait started for one reason
// and extended for another satisfies both.
SettleRules StricterRules(const SettleRules &a, const SettleRules &b);

enum class SettleVerdict {
  Waiting,
  Settled,  // a view was there and quiet for the whole quiet period
  GaveUp,   // the maximum wait ran out first (maybe without any view)
};

// The rule applied to what was seen: time is in GetTickCount milliseconds
// (differences, so the counter's wrap does no harm).
class SettleWatch {
 public:
  void Begin(DWORD now, const SettleRules &rules);
  SettleVerdict Observe(DWORD now, const ViewSnapshot &snapshot);
  const SettleRules &Rules() const { return rules_; }

 private:
  SettleRules rules_ = kDesktopStartSettling;
  DWORD start_ = 0;
  DWORD lastChange_ = 0;
  bool seen_ = false;
  ViewSnapshot last_;
};

// Waits in place (the program has no window to keep answering), reading the
// view every poll interval until the rules give their verdict.
SettleVerdict WaitUntilDesktopSettles(const SettleRules &rules);
