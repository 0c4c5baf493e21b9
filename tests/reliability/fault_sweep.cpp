#include "fault_sweep.h"

#include <cstdio>
#include <exception>
#include <map>
#include <memory>

#include "fallible_calls.h"
#include "winsim/files.h"
#include "winsim/shell.h"
#include "winsim/shell_folders.h"
#include "winsim/trace.h"

namespace {

struct Observation {
  int exitCode = 0;
  std::string escaped;     // what left the program uncaught
  bool stranded = false;   // the user could not reach the tray to go on
  std::string stored;
  std::string effect;
  bool viewGone = false;
  int alarms = 0;          // boxes with a warning or error icon
  std::vector<std::string> broken;  // promises the run broke
};

std::string Hex(const std::vector<unsigned char> &bytes) {
  std::string text;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

// What is still held once the run is over. A failing release call (the one
// the sweep injected) is allowed to leave its own kind of object behind.
void CheckNothingHeld(const std::string &injected, Observation &seen) {
  auto expectNone = [&](const char *what, long count) {
    if (count != 0) seen.broken.push_back(std::string(what) + " left open: " + std::to_string(count));
  };
  expectNone("handles", winsim::OpenHandleCount());
  expectNone("local blocks", winsim::LiveLocalAllocations());
  expectNone("buffers", winsim::LiveVirtualAllocations());
  if (injected != "VirtualFreeEx") expectNone("remote allocations", winsim::LiveRemoteAllocations());
  expectNone("mapped views", winsim::LiveMappedViews());
  if (injected != "RegCloseKey") expectNone("registry keys", winsim::OpenRegistryHandleCount());
  expectNone("menus", winsim::LiveMenuCount());
  expectNone("icons", static_cast<long>(winsim::LiveIcons().size()));
  expectNone("libraries", winsim::LoadedLibraryReferences());
  expectNone("files", winsim::OpenFileCount());
  expectNone("identifier lists", winsim::LiveIdLists());
  expectNone("shell allocator references", winsim::ShellAllocatorReferences());
  expectNone("identifier lists freed wrongly", winsim::BadShellFrees());
  // A run that ended with an error code ends its process, which takes its
  // windows along.
  if (!seen.stranded && seen.exitCode == 0) expectNone("windows", static_cast<long>(winsim::ProgramWindows().size()));
  if (!seen.stranded && injected != "Shell_NotifyIconA")
    expectNone("notification icons", static_cast<long>(winsim::NotificationIcons().size()));
}

}  // namespace

std::string FaultSweep::StoredLayout() {
  if (!winsim::RegistryKeyExists(HKEY_CURRENT_USER, kLayoutPath)) return "absent";
  std::string text;
  for (const auto &name : winsim::RegistryValueNames(HKEY_CURRENT_USER, kLayoutPath)) {
    auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kLayoutPath, name);
    text += name + ":" + std::to_string(value ? value->type : 0) + ":" + (value ? Hex(value->data) : "") + ";";
  }
  return text;
}

std::string FaultSweep::IconPositions(const winsim::ShellDesktop &desktop) {
  std::string text;
  for (const auto &icon : winsim::ListViewIcons(desktop.listView))
    text += icon.caption + "@" + std::to_string(icon.x) + "," + std::to_string(icon.y) + ";";
  return text;
}

SweepReport FaultSweep::Sweep(const SweepScenario &scenario) {
  auto effectOf = [&](const winsim::ShellDesktop &desktop) {
    return scenario.effect ? scenario.effect(desktop) : IconPositions(desktop);
  };
  // One run: fresh machine, the scenario's world, the fault, the program.
  auto observe = [&](const std::string &injected, const std::function<void(const winsim::ShellDesktop &)> &fault,
                     Observation *clean, std::string *before) {
    SetUp();
    winsim::ShellDesktop desktop = scenario.arrange();
    if (before) *before = StoredLayout();
    fault(desktop);
    Observation seen;
    try {
      seen.exitCode = scenario.run();
    } catch (const winsim::MessageLoopStarved &) {
      seen.stranded = true;
    } catch (const std::exception &error) {
      seen.escaped = error.what();
    } catch (...) {
      seen.escaped = "an exception of no standard type";
    }
    seen.stored = StoredLayout();
    seen.viewGone = !winsim::WindowExists(desktop.listView);
    seen.effect = seen.viewGone ? "" : effectOf(desktop);
    for (const auto &box : winsim::MessageBoxes()) {
      UINT icon = box.type & 0xF0;  // MB_ICONMASK
      if (icon == MB_ICONERROR || icon == MB_ICONWARNING) ++seen.alarms;
    }
    if (!seen.escaped.empty()) seen.broken.push_back("escaped: " + seen.escaped);
    if (scenario.verdict) {
      std::string broken = scenario.verdict(seen.exitCode);
      if (!broken.empty()) seen.broken.push_back(broken);
    }
    CheckNothingHeld(injected, seen);
    // A failing unlock is the one way the lock can stay.
    if (injected != "LockWindowUpdate" && winsim::LockedWindow() != nullptr)
      seen.broken.push_back("drawing still locked");
    if (!seen.viewGone && !winsim::ListViewPaintState(desktop.listView).redraw)
      seen.broken.push_back("view left without redraw");
    if (clean) {
      std::string old = before ? *before : "";
      if (seen.stored != old && seen.stored != clean->stored) seen.broken.push_back("stored layout mixed");
    }
    return seen;
  };

  SweepReport report;
  std::string before;
  Observation clean = observe("", [](const winsim::ShellDesktop &) {}, nullptr, &before);
  for (auto &broken : clean.broken) report.findings.push_back(scenario.name + ", no fault: " + broken);
  std::map<std::string, size_t> counts;
  for (const FallibleCall &call : FallibleCalls()) counts[call.function] = winsim::CountCalls(call.function);
  // Messages the shell's view answers in the fault-free run.
  int messages = 0;
  {
    SetUp();
    winsim::ShellDesktop desktop = scenario.arrange();
    winsim::SetListViewObserver(desktop.listView, [&](UINT, WPARAM, LPARAM) { ++messages; });
    try {
      scenario.run();
    } catch (...) {
    }
  }

  // `desktopWentFirst`: the shell ended before the program had asked its view
  // for any item, as if it had never been there; a program that watches the
  // desktop before acting then has nothing to act on and nothing to tell.
  auto judge = [&](const std::string &label, const std::string &injected, Observation &seen,
                   bool desktopWentFirst = false) {
    bool done = seen.stored == clean.stored && (seen.viewGone || seen.effect == clean.effect);
    bool told = seen.exitCode != clean.exitCode || seen.alarms > clean.alarms;
    if (done) {
      ++report.jobsDoneAnyway;
    } else if (told) {
      ++report.failedJobsTold;
    } else if (!scenario.strict && (SilentByDesign(injected) || desktopWentFirst)) {
      ++report.silentByDesign;
    } else if (injected != "MessageBoxA" && !seen.stranded) {
      // A box that cannot be shown cannot tell; a tray that cannot be
      // reached was never asked for the job.
      seen.broken.push_back("job not done and nothing said");
    }
    for (auto &broken : seen.broken) report.findings.push_back(scenario.name + ", " + label + ": " + broken);
  };

  for (const FallibleCall &call : FallibleCalls()) {
    for (size_t k = 0; k < counts[call.function]; ++k) {
      std::string before;
      Observation seen = observe(
          call.function,
          [&](const winsim::ShellDesktop &) { winsim::FailNext(call.function, call.error, static_cast<int>(k)); },
          &clean, &before);
      ++report.injectedCalls;
      judge(std::string(call.function) + " #" + std::to_string(k + 1), call.function, seen);
    }
  }
  for (int k = 1; k <= messages; ++k) {
    std::string before;
    auto itemAsked = std::make_shared<bool>(false);
    Observation seen = observe(
        "",
        [&](const winsim::ShellDesktop &desktop) {
          auto answered = std::make_shared<int>(0);
          DWORD shell = desktop.processId;
          winsim::SetListViewObserver(desktop.listView, [answered, itemAsked, shell, k](UINT message, WPARAM, LPARAM) {
            if (message != LVM_GETITEMCOUNT) *itemAsked = true;
            if (++*answered == k) winsim::EndProcess(shell);
          });
        },
        &clean, &before);
    ++report.shellEndings;
    judge("shell ended after message " + std::to_string(k), "", seen, !*itemAsked);
  }
  std::printf("[ sweep    ] %s: %d injected faults, %d shell endings; %d jobs not done and told, %d done anyway, "
              "%d not done and silent by design, %zu findings\n",
              scenario.name.c_str(), report.injectedCalls, report.shellEndings, report.failedJobsTold,
              report.jobsDoneAnyway, report.silentByDesign, report.findings.size());
  return report;
}
