#include "deskplan/app/desktop_wait.h"

#include <algorithm>
#include <memory>

#include "deskplan/app/icon_name_protection.h"
#include "deskplan/app/program_state.h"
#include "deskplan/app/tray_application.h"
#include "deskplan/layout/layout_command.h"

namespace {

struct PendingWait {
  unsigned work = 0;
  SettleWatch watch;
  std::unique_ptr<ViewObserver> observer;  // present while a wait is on
};

PendingWait pending;
DWORD pollInterval = kSettlePollInterval;

void EndWait(HWND window) {
  KillTimer(window, kDesktopWaitTimer);
  pending = PendingWait{};
}

void DoWork(unsigned work, SettleVerdict verdict) {
  // A count still changing at the end of the wait is a desktop still being
  // filled: its first layout would lack icons.
  if ((work & kWorkSaveFirstLayout) && verdict == SettleVerdict::Settled) EnsureCurrentLayoutSaved();
  if ((work & kWorkReapplyProtection) && AppOptions.protectIconNames && !protectionInForce)
    ApplyIconNameProtection(false);
  if (((work & kWorkRestoreAtStartup) && AppOptions.restoreAtStartup) ||
      ((work & kWorkAutomaticRestore) && AppOptions.autoRestore))
    RunLayoutCommand(kRestoreLayout);
}

}  // namespace

bool DesktopWaitPending() { return pending.observer != nullptr; }

void AwaitSettledDesktop(HWND window, const SettleRules &rules, unsigned work) {
  const SettleRules combined = DesktopWaitPending() ? StricterRules(pending.watch.Rules(), rules) : rules;
  const bool watchedPositions = DesktopWaitPending() && pending.watch.Rules().watchPositions;
  pending.work |= work;
  pending.watch.Begin(GetTickCount(), combined);
  if (!pending.observer || watchedPositions != combined.watchPositions)
    pending.observer = std::make_unique<ViewObserver>(combined.watchPositions);
  // Without a timer there is no waiting: the work is done now, as before.
  pollInterval = kSettlePollInterval;
  if (!SetTimer(window, kDesktopWaitTimer, kSettlePollInterval, nullptr)) {
    unsigned now = pending.work;
    pending = PendingWait{};
    DoWork(now, SettleVerdict::Settled);
    return;
  }
  PollDesktopWait(window);
}

void CancelDesktopWait(HWND window) {
  if (DesktopWaitPending()) EndWait(window);
}

void PollDesktopWait(HWND window) {
  // A WM_TIMER posted before the timer was killed may still come.
  if (!DesktopWaitPending()) return;
  const DWORD lookStart = GetTickCount();
  ViewSnapshot snapshot = pending.observer->Look();
  const DWORD now = GetTickCount();
  SettleVerdict verdict = pending.watch.Observe(now, snapshot);
  if (verdict == SettleVerdict::Waiting) {
    // Reading many positions across processes takes a while (about 300 ms
    // for 1,000 icons under Wine): the next look waits at least three times
    // as long, so that the shell and this program spend at most a quarter of
    // the wait on it.
    const DWORD interval = std::max<DWORD>(kSettlePollInterval, 3 * (now - lookStart));
    if (interval != pollInterval) {
      pollInterval = interval;
      SetTimer(window, kDesktopWaitTimer, interval, nullptr);
    }
    return;
  }
  const unsigned work = pending.work;
  EndWait(window);
  DoWork(work, verdict);
}
