#include "deskplan/app/desktop_wait.h"

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
  SettleVerdict verdict = pending.watch.Observe(GetTickCount(), pending.observer->Look());
  if (verdict == SettleVerdict::Waiting) return;
  const unsigned work = pending.work;
  EndWait(window);
  DoWork(work, verdict);
}
