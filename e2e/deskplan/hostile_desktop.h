// What the hostile-desktop cases share: the stored layout as comparable text,
// the application error box read by a witness desktop once the test desktop
// has ended, and the session's Deskplan and crash-dialog processes seen from
// Linux.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "deskplan_harness.h"

namespace e2e {

// Every value of the key as "name:type:hex data" lines, sorted; "absent" when
// the key does not exist.
std::string LayoutText(const std::string& key);

// Processes of this session's Wine prefix whose command line names `program`
// (compared without regard to case), by Linux process id.
std::vector<int> SessionProcesses(const std::string& program);

// Waits until the shell no longer answers (its process ended); false at the
// limit.
bool WaitForShellEnd(TestShell& shell, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Waits for the application error box of a running program, reads it (a
// screenshot is taken) and answers it (OK); false when the program ended
// without one or none showed in time. `reader` is any live test shell of the
// session.
bool AwaitErrorBox(ChildProcess& run, TestShell& reader, const std::string& screenshotName, std::string& text,
                   std::chrono::milliseconds timeout = std::chrono::seconds(90));

// The application error box of a run: its text and the run's exit code once
// the box has been answered (OK). `reader` is any live test shell of the
// session. No box while the run ends by itself: text empty.
struct RunEnd {
  bool boxShown = false;
  std::string boxText;
  int exitCode = -1;
};
RunEnd AwaitRunEnd(ChildProcess& run, TestShell& reader, const std::string& screenshotName,
                   std::chrono::milliseconds timeout = std::chrono::seconds(90));

// The export files of the session's documents folder ("Deskplan_4.2.0.0_"
// and a date): the bytes of the newest (empty when there is none), and their
// removal.
std::string TodaysExport();
void RemoveTodaysExports();

}  // namespace e2e
