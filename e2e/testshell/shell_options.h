// Command-line options of the test shell.
#pragma once

#include <string>

#include "hostile_modes.h"

namespace testshell {

enum class HostKind { Progman, WorkerW };

struct ShellOptions {
  std::string fixturePath;        // Windows path of the fixture file
  HostKind host = HostKind::Progman;
  int decoyWorkers = 0;           // WorkerW windows without a shell view, made before the host
  bool emptyProgman = false;      // with a WorkerW host: also a "Progman" window holding no view
  bool autoArrange = false;       // LVS_AUTOARRANGE
  bool editLabels = false;        // LVS_EDITLABELS
  int settleMilliseconds = 400;   // wait after the first paint before placing the icons
  bool sharedArena = false;       // serve the 9x shared arena (shared_arena.h)
  int lateDesktopMs = -1;         // -1: the desktop is there at the start (desktop_arrival.h)
  int batchSize = 0;              // icons added at a time; 0: all at once
  int batchMs = 500;              // between two batches
  int relayoutMs = -1;            // -1: no own re-layout after a display change (own_relayout.h)
  int relayoutSteps = 4;
  int relayoutStepMs = 500;
  HostileSettings hostile;        // misbehaving towards other processes (hostile_modes.h)
};

// Options: --fixture PATH, --host progman|workerw, --decoys N, --empty-progman,
// --autoarrange, --editlabels, --settle-ms N, --shared-arena, --late-desktop-ms N,
// --batch-size N, --batch-ms N, --relayout-ms N, --relayout-steps N,
// --relayout-step-ms N, and the hostile modes' options (ParseHostileOption).
bool ParseShellOptions(int argc, char** argv, ShellOptions& options, std::string& error);

}  // namespace testshell
