// The sweep over Cleanslate's reset, answered "yes": on a plain desktop
// registry, and under WOW64 with keys the user cannot reach and a link in a
// tree.
#include <gtest/gtest.h>

#include "reset_sweep.h"
#include "winsim/security.h"

namespace {

class ResetSweepTest : public ResetSweep {
 protected:
  static DWORD PlainDesktopRegistry() {
    winsim::SetRegistryString(HKEY_CURRENT_USER, kAppearanceKey, "Current", "Windows Standard");
    winsim::SetRegistryString(HKEY_CURRENT_USER, kAppearanceKey, "NewCurrent", "Bleu");
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kFolderFlagsKey, "FFlags", 1);
    winsim::SetRegistryDword(HKEY_CURRENT_USER, kFolderFlagsKey, "Mode", 4);
    winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kFirstTree) + "\\2\\Shell\\{5C4F28B5}");
    winsim::SetRegistryDword(HKEY_CURRENT_USER, std::string(kFirstTree) + "\\2\\Shell", "Vid", 3);
    winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kSecondTree) + "\\0\\1");
    winsim::SetRegistryValue(HKEY_CURRENT_USER, std::string(kSecondTree) + "\\0", "MRUListEx", REG_BINARY,
                             {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    winsim::CreateRegistryKey(HKEY_CURRENT_USER, "Control Panel\\Desktop");
    return winsim::AddProcess("explorer.exe", winsim::ProcessKind::Native64);
  }

  void ExpectNoFindings(const ResetSweepReport &report) {
    EXPECT_GT(report.injectedCalls, 0);
    for (const auto &finding : report.findings) ADD_FAILURE() << finding;
  }
};

TEST_F(ResetSweepTest, ResetOfAPlainDesktopRegistry) {
  ExpectNoFindings(Sweep({"reset", [] { return PlainDesktopRegistry(); }}));
}

TEST_F(ResetSweepTest, ResetUnderWow64WithLockedKeysAndALink) {
  ExpectNoFindings(Sweep({"reset under WOW64, locked keys, a link", [] {
                            DWORD shell = PlainDesktopRegistry();
                            winsim::SetProgramProcessKind(winsim::ProcessKind::Wow64);
                            const std::string other = "S-1-5-21-1-2-3-500";
                            winsim::AddAccount("Autre", "POSTE-01", other, SidTypeUser);
                            // Owned by another account, nothing granted to the user.
                            winsim::SetKeySecurity(HKEY_CURRENT_USER, kAppearanceKey, other,
                                                   {{ACCESS_ALLOWED_ACE_TYPE, 0, KEY_ALL_ACCESS, other}}, true);
                            winsim::SetKeySecurity(HKEY_CURRENT_USER, std::string(kFirstTree) + "\\2\\Shell", other,
                                                   {{ACCESS_ALLOWED_ACE_TYPE, 0, KEY_ALL_ACCESS, other}}, true);
                            winsim::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Important");
                            winsim::CreateRegistryLink(HKEY_CURRENT_USER, std::string(kSecondTree) + "\\Lien",
                                                       HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies");
                            winsim::AddProcess("EXPLORER.EXE", winsim::ProcessKind::Native64);
                            return shell;
                          }}));
}

TEST_F(ResetSweepTest, ResetWhoseAppearanceKeyBecomesALinkToAMachineKeyAtItsRepair) {
  ResetScenario scenario{"reset, appearance key swapped for a link at its repair", [] {
                           DWORD shell = PlainDesktopRegistry();
                           const std::string other = "S-1-5-21-1-2-3-500";
                           winsim::AddAccount("Autre", "POSTE-01", other, SidTypeUser);
                           winsim::SetKeySecurity(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs", other,
                                                  {{ACCESS_ALLOWED_ACE_TYPE, 3, KEY_ALL_ACCESS, other}}, true);
                           winsim::SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ailleurs", "Current", "Garde");
                           // At the latest when the values are written, whatever failed before.
                           SwapForALinkAtTheRepair(kAppearanceKey, "SOFTWARE\\Ailleurs", {"RegCreateKeyExA"});
                           return shell;
                         }};
  // The link stops the clearing of the values: the reset says so and ends.
  scenario.resets = false;
  ExpectNoFindings(Sweep(scenario));
}

}  // namespace
