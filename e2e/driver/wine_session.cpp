#include "wine_session.h"

#include <sys/stat.h>

#include <cstdlib>

#include "wine_probe.h"

namespace e2e {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Fails or skips the running test, as WineSessionRequired() says.
void Refuse(const std::string& why) {
  if (WineSessionRequired()) {
    GTEST_FAIL() << why;
  }
  GTEST_SKIP() << why;
}

}  // namespace

bool WineSessionActive() {
  return !Environment("DESKPLAN_WINE_SESSION").empty() && IsDirectory(Environment("WINEPREFIX")) &&
         !WineLoader().empty() && !Environment("DISPLAY").empty();
}

bool WineSessionRequired() {
  return Environment("DESKPLAN_REQUIRE_ALL_TESTS") == "1" || Environment("CI") == "true";
}

std::string BuildUnderTest() {
  const std::string build = Environment("DESKPLAN_E2E_BUILD");
  return build.compare(0, 5, "win32") == 0 ? std::string("win32") : std::string("win64");
}

std::string ShellBuild() { return Environment("DESKPLAN_E2E_BUILD") == "win32-shell32" ? "win32" : "win64"; }

std::string BuildBinDir(const std::string& build) {
  if (build == "win32") return DESKPLAN_WIN32_BIN;
  const std::string overridden = Environment("DESKPLAN_WIN64_BIN");
  return overridden.empty() ? std::string(DESKPLAN_WIN64_BIN) : overridden;
}

std::string BinDir() {
  const std::string chosen = Environment("DESKPLAN_E2E_BIN");
  return chosen.empty() ? BuildBinDir(BuildUnderTest()) : chosen;
}

std::string ProgramPath(const std::string& name) { return BinDir() + "/" + name; }

std::string ShellBinDir() {
  const std::string chosen = Environment("DESKPLAN_E2E_SHELL_BIN");
  return chosen.empty() ? BuildBinDir(ShellBuild()) : chosen;
}

std::string ShellProgramPath(const std::string& name) { return ShellBinDir() + "/" + name; }

std::string FixturePath(const std::string& name) { return std::string(DESKPLAN_E2E_FIXTURES) + "/" + name; }

std::string ArtifactsDir() {
  std::string dir = Environment("DESKPLAN_TEST_ARTIFACTS");
  if (dir.empty()) dir = DESKPLAN_TEST_ARTIFACTS;
  mkdir(dir.c_str(), 0755);
  return dir;
}

std::string WindowsPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string WineLoader() { return Environment("DESKPLAN_WINE"); }

std::string WineLoaderFor(const std::string& program) {
  const std::string wine64 = Environment("DESKPLAN_WINE64");
  if (wine64.empty() || PeImageBits(program) == 32) return WineLoader();
  return wine64;
}

std::vector<std::string> WineCommand(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> command = {WineLoaderFor(program), program};
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

ProgramResult RunUnderWine(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::milliseconds timeout) {
  return RunProgram(WineCommand(program, args), timeout);
}

void WineTest::SetUp() {
  if (!WineSessionActive()) {
    Refuse("no Wine session: run the end-to-end tests through scripts/wine-session (scripts/test-all does)");
    return;
  }
  ASSERT_TRUE(IsFile(ShellProgramPath("testshell.exe")))
      << "the test desktop is missing in " << ShellBinDir() << " (build its preset)";
  ASSERT_TRUE(IsFile(ProgramPath("probe.exe")))
      << "the " << BuildUnderTest() << " build is missing in " << BinDir() << " (build its preset)";
  for (const std::string& dir : {BinDir(), ShellBinDir()}) {
    const ProbeVerdict verdict = SessionProbe(dir + "/probe.exe");
    if (!verdict.runs) {
      Refuse("not run: " + verdict.reason);
      return;
    }
  }
}

}  // namespace e2e
