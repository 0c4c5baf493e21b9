#include "deskplan/layout/desktop_settling.h"

#include <algorithm>

SettleRules StricterRules(const SettleRules &a, const SettleRules &b) {
  return {std::max(a.minimumDelay, b.minimumDelay), std::max(a.quietPeriod, b.quietPeriod),
          std::max(a.maximumWait, b.maximumWait), a.watchPositions || b.watchPositions};
}

void SettleWatch::Begin(DWORD now, const SettleRules &rules) {
  rules_ = rules;
  start_ = now;
  lastChange_ = now;
  seen_ = false;
  last_ = ViewSnapshot{};
}

SettleVerdict SettleWatch::Observe(DWORD now, const ViewSnapshot &snapshot) {
  if (!seen_ || snapshot != last_) {
    last_ = snapshot;
    lastChange_ = now;
    seen_ = true;
  }
  const DWORD waited = now - start_;
  const DWORD quiet = now - lastChange_;
  if (snapshot.view && waited >= rules_.minimumDelay && quiet >= rules_.quietPeriod) return SettleVerdict::Settled;
  if (waited >= rules_.maximumWait) return SettleVerdict::GaveUp;
  return SettleVerdict::Waiting;
}

SettleVerdict WaitUntilDesktopSettles(const SettleRules &rules) {
  ViewObserver observer(rules.watchPositions);
  SettleWatch watch;
  watch.Begin(GetTickCount(), rules);
  for (;;) {
    SettleVerdict verdict = watch.Observe(GetTickCount(), observer.Look());
    if (verdict != SettleVerdict::Waiting) return verdict;
    Sleep(kSettlePollInterval);
  }
}
