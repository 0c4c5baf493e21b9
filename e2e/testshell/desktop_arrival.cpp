#include "desktop_arrival.h"

#include <algorithm>
#include <cstdlib>

#include "hostile_modes.h"
#include "paint_counter.h"
#include "shared_arena.h"

namespace testshell {
namespace {

enum class Stage { Absent, Settling, Filling, Complete, Failed };

struct Arrival {
  ShellDesktop* desktop = nullptr;
  const std::vector<e2e::FixtureIcon>* icons = nullptr;
  ShellOptions options;
  HINSTANCE instance = nullptr;
  void (*firstComplete)() = nullptr;
  bool restarted = false;  // a restart's desktop announces itself
  Stage stage = Stage::Absent;
  std::size_t added = 0;
  std::string failure;
  UINT_PTR timer = 0;  // the one pending step (a thread timer)
};

Arrival arrival;

void CALLBACK NextStep(HWND, UINT, UINT_PTR id, DWORD);

void CancelStep() {
  if (arrival.timer != 0) KillTimer(nullptr, arrival.timer);
  arrival.timer = 0;
}

void ScheduleStep(int milliseconds) {
  CancelStep();
  arrival.timer = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), NextStep);
}

std::string LastErrorText(const char* what) {
  return std::string("cannot ") + what + " (error " + std::to_string(GetLastError()) + ")";
}

// The same subclasses on every list view the shell makes.
bool WatchListView(HWND list, std::string& error) {
  if (arrival.options.sharedArena && !ServeSharedArena(list)) {
    error = LastErrorText("subclass the list view");
    return false;
  }
  if (!ServeHostileModes(list)) {
    error = LastErrorText("subclass the list view for the hostile modes");
    return false;
  }
  if (!CountListPaints(list)) {
    error = LastErrorText("count the list view's paints");
    return false;
  }
  return true;
}

std::size_t BatchEnd() {
  const std::size_t total = arrival.icons->size();
  const std::size_t batch = arrival.options.batchSize > 0 ? static_cast<std::size_t>(arrival.options.batchSize)
                                                          : total;
  return std::min(total, arrival.added + batch);
}

void Complete() {
  arrival.stage = Stage::Complete;
  void (*firstComplete)() = arrival.firstComplete;
  arrival.firstComplete = nullptr;
  if (firstComplete != nullptr) firstComplete();
}

// The windows and the first batch, shown; placed once the view has settled.
bool MakeDesktop(std::string& error) {
  if (!arrival.desktop->Create(arrival.options, arrival.instance, error) ||
      !WatchListView(arrival.desktop->ListView(), error)) {
    arrival.desktop->Destroy();
    arrival.stage = Stage::Failed;
    arrival.failure = error;
    return false;
  }
  const std::size_t end = BatchEnd();
  arrival.desktop->AddIcons(*arrival.icons, 0, end);
  arrival.added = end;
  arrival.desktop->Show();
  if (arrival.restarted) PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  arrival.stage = Stage::Settling;
  ScheduleStep(arrival.options.settleMilliseconds);
  return true;
}

void FillOrComplete() {
  if (arrival.added == arrival.icons->size()) {
    Complete();
  } else {
    arrival.stage = Stage::Filling;
    ScheduleStep(arrival.options.batchMs);
  }
}

void CALLBACK NextStep(HWND, UINT, UINT_PTR id, DWORD) {
  if (id != arrival.timer) return;
  CancelStep();
  std::string error;
  switch (arrival.stage) {
    case Stage::Absent:
      MakeDesktop(error);
      break;
    case Stage::Settling:
      // A comctl32 icon view re-arranges its items once shortly after it is
      // first shown; the fixture's positions are set after that.
      arrival.desktop->PlaceIcons(*arrival.icons, 0, arrival.added);
      FillOrComplete();
      break;
    case Stage::Filling: {
      const std::size_t first = arrival.added;
      arrival.added = BatchEnd();
      arrival.desktop->AddIcons(*arrival.icons, first, arrival.added);
      arrival.desktop->PlaceIcons(*arrival.icons, first, arrival.added);
      FillOrComplete();
      break;
    }
    default:
      break;
  }
}

std::string StatusLine() {
  switch (arrival.stage) {
    case Stage::Absent:
      return "desktop absent";
    case Stage::Complete:
      return "desktop complete " + std::to_string(arrival.added);
    case Stage::Failed:
      return "desktop failed " + arrival.failure;
    default:
      return "desktop filling " + std::to_string(arrival.added);
  }
}

bool ToMilliseconds(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || parsed < 0 || parsed > 600000) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

bool BeginDesktopArrival(ShellDesktop& desktop, const std::vector<e2e::FixtureIcon>& icons,
                         const ShellOptions& options, HINSTANCE instance, void (*firstComplete)(), std::string& error) {
  arrival = Arrival();
  arrival.desktop = &desktop;
  arrival.icons = &icons;
  arrival.options = options;
  arrival.instance = instance;
  arrival.firstComplete = firstComplete;
  if (options.lateDesktopMs >= 0) {
    ScheduleStep(options.lateDesktopMs);
    return true;
  }
  return MakeDesktop(error);
}

bool RunArrivalCommand(const std::vector<std::string>& words, std::string& reply) {
  int delay = 0;
  if (words[0] == "desktop" && words.size() == 1) {
    reply = StatusLine();
  } else if (words[0] == "restart" && words.size() == 2 && ToMilliseconds(words[1], delay)) {
    CancelStep();
    arrival.desktop->Destroy();
    arrival.stage = Stage::Absent;
    arrival.added = 0;
    arrival.restarted = true;
    ScheduleStep(delay);
    reply = "ok";
  } else {
    return false;
  }
  return true;
}

}  // namespace testshell
