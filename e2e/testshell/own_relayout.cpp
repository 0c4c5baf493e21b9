#include "own_relayout.h"

#include <windows.h>

#include <algorithm>

namespace testshell {
namespace {

// The shell's grid: columns from the top left, cells unlike the fixtures'.
const int kGridOrigin = 8;
const int kGridCell = 96;

struct Relayout {
  const ShellDesktop* desktop = nullptr;
  bool on = false;
  int delayMs = 0;
  int steps = 1;
  int stepMs = 0;
  int nextStep = 0;
  bool pending = false;
  long done = 0;
  UINT_PTR timer = 0;
};

Relayout relayout;

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD);

void Schedule(int milliseconds) {
  if (relayout.timer != 0) KillTimer(nullptr, relayout.timer);
  relayout.timer = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), RunStep);
}

POINT GridCell(int index, int rows) {
  return POINT{kGridOrigin + (index / rows) * kGridCell, kGridOrigin + (index % rows) * kGridCell};
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
  if (id != relayout.timer) return;
  KillTimer(nullptr, relayout.timer);
  relayout.timer = 0;
  const ShellDesktop& desktop = *relayout.desktop;
  if (desktop.Exists()) {
    RECT area = {};
    GetClientRect(desktop.ListView(), &area);
    const int rows = std::max(1, static_cast<int>(area.bottom - kGridOrigin) / kGridCell);
    const int count = desktop.ItemCount();
    const int share = (count + relayout.steps - 1) / relayout.steps;
    const int end = std::min(count, (relayout.nextStep + 1) * share);
    for (int i = relayout.nextStep * share; i < end; ++i) {
      const POINT cell = GridCell(i, rows);
      desktop.MoveItem(i, cell.x, cell.y);
    }
  }
  if (++relayout.nextStep < relayout.steps) {
    Schedule(relayout.stepMs);
  } else {
    relayout.pending = false;
    ++relayout.done;
  }
}

}  // namespace

void SetUpOwnRelayout(const ShellDesktop& desktop, const ShellOptions& options) {
  relayout = Relayout();
  relayout.desktop = &desktop;
  relayout.on = options.relayoutMs >= 0;
  relayout.delayMs = options.relayoutMs;
  relayout.steps = options.relayoutSteps;
  relayout.stepMs = options.relayoutStepMs;
}

void ScheduleOwnRelayout() {
  if (!relayout.on) return;
  relayout.pending = true;
  relayout.nextStep = 0;
  Schedule(relayout.delayMs);
}

bool RunRelayoutCommand(const std::vector<std::string>& words, std::string& reply) {
  if (words[0] != "relayout" || words.size() != 1) return false;
  if (!relayout.on) {
    reply = "relayout off";
  } else if (relayout.pending) {
    reply = "relayout pending";
  } else {
    reply = "relayout done " + std::to_string(relayout.done);
  }
  return true;
}

}  // namespace testshell
