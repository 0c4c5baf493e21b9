// The sweep over the tray: the first start that takes the layout, a start
// that restores, the option toggles and the icon-name protection.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "fault_sweep.h"

namespace {

class TraySweep : public FaultSweep {
 protected:
  static std::string Options(const winsim::ShellDesktop &desktop) {
    std::string text;
    for (const char *name : {"D\xE9marrage", "Automatique", "Protection"}) {
      auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kOptionsPath, name);
      text += std::string(name) + "=" + (value && !value->data.empty() ? std::to_string(value->data[0]) : "-") + ";";
    }
    bool editable = (winsim::WindowStyle(desktop.listView) & LVS_EDITLABELS) != 0;
    return text + (editable ? "editable" : "protected");
  }

  void ExpectNoFindings(const SweepReport &report) {
    EXPECT_GT(report.injectedCalls, 0);
    for (const auto &finding : report.findings) ADD_FAILURE() << finding;
  }
};

TEST_F(TraySweep, FirstStartTakesTheLayout) {
  ExpectNoFindings(Sweep({"first tray start", [&] { return Desktop({{"Corbeille", 10, 20}, {"Notes", 30, 40}}); },
                          [&] { return RunTrayUntilClosed(); }, nullptr, false, nullptr}));
}

TEST_F(TraySweep, StartThatRestores) {
  ExpectNoFindings(Sweep({"tray start with restore",
                          [&] {
                            auto desktop = Desktop({{"Corbeille", 10, 20}, {"Notes", 30, 40}});
                            StoreIcon("Corbeille", 300, 400);
                            StoreIcon("Notes", 5, 6);
                            winsim::SetRegistryDword(HKEY_CURRENT_USER, kOptionsPath, "D\xE9marrage", 1);
                            return desktop;
                          },
                          [&] { return RunTrayUntilClosed(); }, nullptr, false, nullptr}));
}

TEST_F(TraySweep, OptionTogglesAndProtection) {
  ExpectNoFindings(Sweep({"option toggles and protection",
                          [&] {
                            auto desktop =
                                Desktop({{"Corbeille", 10, 20}}, LVS_ICON | LVS_EDITLABELS);
                            StoreIcon("Corbeille", 10, 20);
                            return desktop;
                          },
                          [&] {
                            return RunThenQuit(
                                {Choose(CMD_STARTUP), Choose(CMD_AUTOMATIC), Choose(CMD_PROTECTION)});
                          },
                          Options, false, nullptr}));
}

TEST_F(TraySweep, ProtectedSwitch) {
  ExpectNoFindings(Sweep({"/PROTECTED",
                          [&] {
                            auto desktop = Desktop({{"Corbeille", 10, 20}}, LVS_ICON | LVS_EDITLABELS);
                            StoreIcon("Corbeille", 10, 20);
                            return desktop;
                          },
                          [&] { return Run("/PROTECTED"); }, Options, false, nullptr}));
}

}  // namespace
