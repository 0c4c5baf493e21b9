#include "wine_session.h"

#include <sys/stat.h>

#include <cstdlib>

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

}  // namespace

bool WineSessionActive() {
  return !Environment("DESKPLAN_WINE_SESSION").empty() && IsDirectory(Environment("WINEPREFIX")) &&
         !Environment("WINELOADER").empty() && !Environment("DISPLAY").empty();
}

bool WineSessionRequired() {
  return Environment("DESKPLAN_REQUIRE_ALL_TESTS") == "1" || Environment("CI") == "true";
}

std::string Win64BinDir() {
  const std::string overridden = Environment("DESKPLAN_WIN64_BIN");
  return overridden.empty() ? std::string(DESKPLAN_WIN64_BIN) : overridden;
}

std::string Win64Program(const std::string& name) { return Win64BinDir() + "/" + name; }

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

std::vector<std::string> WineCommand(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> command = {Environment("WINELOADER"), program};
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

ProgramResult RunWin64(const std::string& program, const std::vector<std::string>& args,
                       std::chrono::milliseconds timeout) {
  return RunProgram(WineCommand(program, args), timeout);
}

void WineTest::SetUp() {
  if (!WineSessionActive()) {
    const char* hint = "no Wine session: run the end-to-end tests through scripts/wine-session (scripts/test-all does)";
    if (WineSessionRequired()) {
      FAIL() << hint;
    }
    GTEST_SKIP() << hint;
  }
  ASSERT_TRUE(IsFile(Win64Program("testshell.exe")))
      << "the win64 build is missing in " << Win64BinDir() << " (build the win64 preset or set DESKPLAN_WIN64_BIN)";
}

}  // namespace e2e
