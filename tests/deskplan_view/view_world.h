// A shell desktop for the view tests, and a read pass as the layout passes
// run it.
#pragma once

#include <string>
#include <vector>

#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"
#include "deskplan/view/virtalloc.h"
#include "winsim/desktop.h"
#include "winsim/machine.h"
#include "winsim/processes.h"

struct ReadIcon {
  std::string caption;
  long x;
  long y;
  bool operator==(const ReadIcon &other) const {
    return caption == other.caption && x == other.x && y == other.y;
  }
};

inline void FreshMachine() {
  winsim::Reset();
  ResetProgramState();
  ResetRemoteMemoryFunctions();
}

inline winsim::ShellDesktop Desktop(std::vector<winsim::DesktopIcon> icons,
                                    winsim::ProcessKind kind = winsim::ProcessKind::Native64) {
  winsim::ShellDesktopSetup setup;
  setup.shellKind = kind;
  setup.icons = std::move(icons);
  return winsim::BuildShellDesktop(setup);
}

// Nothing the program obtained is still held.
inline bool NothingHeld() {
  return winsim::OpenHandleCount() == 0 && winsim::LiveVirtualAllocations() == 0 &&
         winsim::LiveRemoteAllocations() == 0 && winsim::LiveMappedViews() == 0;
}
