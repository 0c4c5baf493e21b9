// What the end-to-end tests know of the Wine session that the scripts start
// (scripts/wine-session) and of the build under test: where things are and how
// to run a Windows program.
//
// The build under test is a parameter of the run, set by CTest for each
// registration of a suite (see e2e/driver/CMakeLists.txt):
//   DESKPLAN_E2E_BUILD      "win64" (default), "win32" (against the 64-bit test
//                           desktop) or "win32-shell32" (against the 32-bit one,
//                           which plays a WOW64 shell)
// and, for runs by hand, DESKPLAN_E2E_BIN / DESKPLAN_E2E_SHELL_BIN override the
// folders of the programs and of the test desktop.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "child_process.h"

namespace e2e {

bool WineSessionActive();
// True when a missing session must fail the tests rather than skip them
// (DESKPLAN_REQUIRE_ALL_TESTS=1, or any CI run).
bool WineSessionRequired();

std::string BuildUnderTest();                         // "win64" or "win32"
std::string ShellBuild();                             // the test desktop's: "win64" or "win32"
std::string BinDir();                                 // the programs of the build under test
std::string ProgramPath(const std::string& name);     // BinDir()/name
std::string BuildBinDir(const std::string& build);   // the bin folder of "win32" or "win64"
std::string ShellBinDir();                            // where the test desktop (testshell.exe) comes from
std::string ShellProgramPath(const std::string& name);  // ShellBinDir()/name
std::string FixturePath(const std::string& name);     // e2e/fixtures/name
std::string ArtifactsDir();                           // screenshots and exports, created on demand
// The Windows form of a Linux path (Wine maps Z: onto /).
std::string WindowsPath(const std::string& linuxPath);

// The session's Wine command (DESKPLAN_WINE): starts 32-bit and 64-bit programs.
std::string WineLoader();
// The loader for one program: 32-bit programs (by their PE header) go through
// DESKPLAN_WINE; every other program, Wine's own (reg, regedit) included,
// through the 64-bit loader DESKPLAN_WINE64 where the session names one, so
// that a machine emulating the 32-bit CPU does not emulate Wine's 32-bit
// loader for every 64-bit start.
std::string WineLoaderFor(const std::string& program);
// The command that runs a Windows program under the session's Wine.
std::vector<std::string> WineCommand(const std::string& program, const std::vector<std::string>& args);

// Runs a Windows program with arguments to its end, or kills it at the limit.
ProgramResult RunUnderWine(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::milliseconds timeout = std::chrono::seconds(60));

// The names from the time when only the win64 build ran; they mean the build
// under test.
inline std::string Win64BinDir() { return BinDir(); }
inline std::string Win64Program(const std::string& name) { return ProgramPath(name); }
inline ProgramResult RunWin64(const std::string& program, const std::vector<std::string>& args,
                              std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
  return RunUnderWine(program, args, timeout);
}

// Base fixture of every end-to-end test: needs the session, the build under
// test and the test desktop, and proof (the probe, see wine_probe.h) that Wine
// really runs the programs of both; skips (visibly) or fails, as
// WineSessionRequired() says, without them.
class WineTest : public ::testing::Test {
 protected:
  void SetUp() override;
};

}  // namespace e2e
