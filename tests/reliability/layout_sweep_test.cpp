// The sweep over saves and restores: by the cross-process method from the
// command line (quiet and with the overwrite question) and from the tray menu,
// and by the shared-area method on a Windows 9x system.
#include <gtest/gtest.h>

#include "fault_sweep.h"

namespace {

// Two batches of icons, so that faults fall between batches as well as in one.
std::vector<winsim::DesktopIcon> SeventyIcons() {
  std::vector<winsim::DesktopIcon> icons;
  for (int i = 0; i < 70; ++i) icons.push_back({i % 7 == 0 ? "Copie" : "Ic\xF4ne " + std::to_string(i), 10 * i, i});
  return icons;
}

class LayoutSweep : public FaultSweep {
 protected:
  // A desktop whose icons are not where the stored layout has them.
  winsim::ShellDesktop DesktopWithOldLayout() {
    auto desktop = Desktop(SeventyIcons());
    for (int i = 0; i < 70; i += 3) StoreIcon(i % 7 == 0 ? "Copie" : "Ic\xF4ne " + std::to_string(i), 500 - i, 3 * i);
    StoreIcon("Disparue", 1, 1);
    return desktop;
  }

  void ExpectNoFindings(const SweepReport &report) {
    EXPECT_GT(report.injectedCalls, 0);
    for (const auto &finding : report.findings) ADD_FAILURE() << finding;
  }
};

TEST_F(LayoutSweep, QuietSaveFromTheCommandLine) {
  ExpectNoFindings(Sweep({"/NOPROMPT /AUTOSAVE", [&] { return DesktopWithOldLayout(); },
                          [&] { return Run("/NOPROMPT /AUTOSAVE"); }, nullptr, false, nullptr}));
}

TEST_F(LayoutSweep, SaveWithItsQuestionAnsweredYes) {
  ExpectNoFindings(Sweep({"/AUTOSAVE asking",
                          [&] {
                            winsim::AnswerMessageBoxes({IDYES});
                            return DesktopWithOldLayout();
                          },
                          [&] { return Run("/AUTOSAVE"); }, nullptr, false, nullptr}));
}

TEST_F(LayoutSweep, RestoreFromTheCommandLine) {
  ExpectNoFindings(Sweep({"/AUTOLOAD", [&] { return DesktopWithOldLayout(); },
                          [&] { return Run("/NOPROMPT /AUTOLOAD"); }, nullptr, false, nullptr}));
}

TEST_F(LayoutSweep, SaveThenRestoreFromTheTrayMenu) {
  ExpectNoFindings(Sweep({"menu save and restore",
                          [&] {
                            winsim::AnswerMessageBoxes({IDYES});
                            return DesktopWithOldLayout();
                          },
                          [&] {
                            return RunThenQuit({Choose(CMD_SAVE), Choose(CMD_RESTORE)});
                          },
                          nullptr, false, nullptr}));
}

TEST_F(LayoutSweep, SharedAreaSaveAndRestoreOnWindows98) {
  auto legacyDesktop = [&] {
    auto desktop = LegacyDesktop({{"Corbeille", 10, 20}, {"Notes", 30, 40}, {"Jeux", 50, 60}});
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Corbeille", 0x00640064);
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kLayoutPath, "Ancienne", 0x00010001);
    return desktop;
  };
  ExpectNoFindings(Sweep({"shared-area /AUTOSAVE", legacyDesktop, [&] { return Run("/NOPROMPT /AUTOSAVE"); },
                          nullptr, false, nullptr}));
  ExpectNoFindings(Sweep({"shared-area /AUTOLOAD", legacyDesktop, [&] { return Run("/NOPROMPT /AUTOLOAD"); },
                          nullptr, false, nullptr}));
}

}  // namespace
