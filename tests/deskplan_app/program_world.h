// Runs the whole of Deskplan in a machine with a shell desktop.
#pragma once

#include <string>

#include "deskplan/app/deskplan_entry.h"
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

  // A tray run that ends through the window's close once the loop is idle.
  int RunTrayUntilClosed(std::vector<winsim::IdleAction> before = {}) {
    before.push_back(winsim::CloseProgramWindow("Deskplan"));
    winsim::SetIdleScript(std::move(before));
    return Run();
  }
};
