// The probe against the session's real Wine: the win64 probe runs, and the
// win32 probe runs exactly when the machine executes 32-bit code and Wine's
// 32-bit support is installed. Where it does not, this is the refusal that
// keeps the 32-bit tiers from passing without having run.
#include <gtest/gtest.h>
#include <unistd.h>

#include "child_process.h"
#include "wine_probe.h"
#include "wine_session.h"

namespace e2e {
namespace {

class WineProbeSessionTest : public WineTest {};

TEST_F(WineProbeSessionTest, The64BitProbeRuns) {
  const ProbeVerdict verdict = ProbeWine(WineLoader(), BuildBinDir("win64") + "/probe.exe", ArtifactsDir(), 73);
  EXPECT_TRUE(verdict.runs) << verdict.reason;
}

TEST_F(WineProbeSessionTest, The32BitProbeRunsExactlyWhereTheMachineAndWineCan) {
  const std::string probe = BuildBinDir("win32") + "/probe.exe";
  ASSERT_EQ(PeImageBits(probe), 32) << probe << " (build the win32 preset)";
  const ProgramResult machine =
      RunProgram({"bash", std::string(DESKPLAN_SOURCE_DIR) + "/scripts/lib/i386-probe.sh"}, std::chrono::seconds(30));
  const bool executes32 = machine.exitCode == 0;
  const bool wine32 = access("/usr/lib/wine/wine", X_OK) == 0;

  const ProbeVerdict verdict = ProbeWine(WineLoader(), probe, ArtifactsDir(), 73);
  EXPECT_EQ(verdict.runs, executes32 && wine32)
      << "machine executes 32-bit code: " << executes32 << " (" << machine.output << "), wine32 installed: " << wine32
      << ", probe: " << (verdict.runs ? "ran" : verdict.reason);
  if (!verdict.runs) {
    std::printf("[ REFUSED  ] %s\n", verdict.reason.c_str());
    EXPECT_FALSE(SessionProbe(probe).runs) << "the session must keep refusing the 32-bit tiers";
  }
}

}  // namespace
}  // namespace e2e
