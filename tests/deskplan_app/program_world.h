// Runs the whole of Deskplan in a machine with a shell desktop.
#pragma once

#include <string>

#include "deskplan/app/deskplan_entry.h"
#include "deskplan/layout/desktop_settling.h"
#include "layout_world.h"

const char kOptionsPath[] = "Software\\Ostrafen\\Deskplan\\Options";

class ProgramWorld : public LayoutWorld {
 protected:
  winsim::ShellDesktop Desktop(std::vector<winsim::DesktopIcon> icons, LONG style = LVS_ICON) {
    winsim::ShellDesktopSetup setup;
    setup.icons = std::move(icons);
    setup.listViewStyle = style;
    return winsim::BuildShellDesktop(setup);
  }

  // Runs Deskplan with these arguments; answers its exit code.
  int Run(const std::string &arguments = "") {
    winsim::SetCommandLine("\"C:\\Program Files\\Deskplan\\Deskplan.exe\"" +
                           (arguments.empty() ? "" : " " + arguments));
    return winsim::RunProgram([] { return RunDeskplan(); });
  }

  // Long enough for the start-up's wait for a settled desktop to end.
  static winsim::IdleAction StartUpSettles() { return winsim::Elapse(kDesktopStartSettling.quietPeriod + 250); }

  // Long enough for a restore after a change of display mode, on a desktop
  // that the shell leaves as it is.
  static winsim::IdleAction DisplayChangeSettles() {
    return winsim::Elapse(kDisplayChangeSettling.minimumDelay + kSettlePollInterval);
  }

  // A tray run that ends through the window's close once the loop is idle
  // and the start-up is done.
  int RunTrayUntilClosed(std::vector<winsim::IdleAction> before = {}) {
    before.insert(before.begin(), StartUpSettles());
    before.push_back(winsim::CloseProgramWindow("Deskplan"));
    winsim::SetIdleScript(std::move(before));
    return Run();
  }
};
