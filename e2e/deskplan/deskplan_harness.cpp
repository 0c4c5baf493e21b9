#include "deskplan_harness.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "../protocol/caption_escape.h"

namespace e2e {

const char kProductKey[] = "HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan";

namespace {

const char kWineAppDefaults[] = "HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\";

ProgramResult RunReg(const std::vector<std::string>& args) {
  std::vector<std::string> command = {WineLoaderFor("reg"), "reg"};
  command.insert(command.end(), args.begin(), args.end());
  return RunProgram(command, std::chrono::seconds(60));
}

}  // namespace

DeskplanRun RunDeskplan(const std::vector<std::string>& args, std::chrono::milliseconds timeout) {
  DeskplanRun run;
  const auto start = std::chrono::steady_clock::now();
  run.result = RunUnderWine(ProgramPath("Deskplan.exe"), args, timeout);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return run;
}

std::unique_ptr<ChildProcess> StartDeskplan(const std::vector<std::string>& args) {
  auto child = std::make_unique<ChildProcess>(WineCommand(ProgramPath("Deskplan.exe"), args));
  child->CloseInput();
  return child;
}

std::string SessionLayoutName(TestShell& shell) {
  int width = 0;
  int height = 0;
  if (std::sscanf(shell.Ask("screen").c_str(), "screen %d %d", &width, &height) != 2) return "";
  return std::to_string(width) + "x" + std::to_string(height);
}

std::string LayoutKey(const std::string& layoutName) { return std::string(kProductKey) + "\\" + layoutName; }

bool DeleteRegKey(const std::string& key) {
  const ProgramResult result = RunReg({"delete", Windows1252ToUtf8(key), "/f"});
  return !result.timedOut && result.exitCode == 0;
}

bool ForgetDeskplan(std::string& failure) {
  // On a loaded machine a reg run has been seen to answer wrongly once; a
  // key that survives three deletions is really held.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!RegKeyExists(kProductKey)) return true;
    const ProgramResult result = RunReg({"delete", Windows1252ToUtf8(kProductKey), "/f"});
    failure = "reg delete: exit code " + std::to_string(result.exitCode) + (result.timedOut ? ", timed out" : "") +
              ", output: " + result.output;
  }
  return !RegKeyExists(kProductKey);
}

RegKey ReadKey(const std::string& key) {
  std::vector<RegKey> keys;
  std::string error;
  if (!ExportRegistryTree(key, keys, error)) return RegKey{};
  for (const RegKey& found : keys) {
    if (found.path == key) return found;
  }
  return RegKey{};
}

bool WaitForBox(TestShell& shell, std::string& text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string reply = shell.Ask("box");
    if (reply.compare(0, 4, "box ") == 0) return UnescapeCaption(reply.substr(4), text);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

bool WaitForTray(TestShell& shell, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (shell.Ask("tray").compare(0, 5, "tray ") == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::vector<ShellItem> ScrambleIcons(TestShell& shell) {
  const std::vector<ShellItem> before = shell.Items();
  for (std::size_t i = 0; i < before.size(); ++i) {
    const ShellItem& next = before[(i + 1) % before.size()];
    EXPECT_TRUE(shell.Move(static_cast<int>(i), next.x + 13, next.y + 7)) << "item " << i;
  }
  std::vector<ShellItem> after = shell.Items();
  EXPECT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size() && i < before.size(); ++i) {
    EXPECT_TRUE(after[i].x != before[i].x || after[i].y != before[i].y) << "item " << i << " did not move";
  }
  return after;
}

void ExpectSamePositions(const std::vector<ShellItem>& actual, const std::vector<ShellItem>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].caption, expected[i].caption) << "item " << i;
    EXPECT_EQ(actual[i].x, expected[i].x) << "item " << i << " " << Windows1252ToUtf8(actual[i].caption);
    EXPECT_EQ(actual[i].y, expected[i].y) << "item " << i << " " << Windows1252ToUtf8(actual[i].caption);
  }
}

bool SamePlaces(const std::vector<ShellItem>& actual, const std::vector<ShellItem>& expected) {
  if (actual.size() != expected.size()) return false;
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (actual[i].x != expected[i].x || actual[i].y != expected[i].y) return false;
  return true;
}

int Int32At(const std::string& data, std::size_t offset) {
  unsigned int value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data.at(offset + i));
  return static_cast<int>(value);
}

WineVersionFor::WineVersionFor(const std::string& program, const std::string& version)
    : key_(kWineAppDefaults + program) {
  applied_ = AddRegValue(key_, "Version", "REG_SZ", version);
}

WineVersionFor::~WineVersionFor() { DeleteRegKey(key_); }

void DeskplanTest::StartShell(TestShell& shell, const std::string& fixture, const std::vector<std::string>& options) {
  ShellStart start = ShellStart::WithFixture(fixture);
  start.extraOptions = options;
  std::string error;
  ASSERT_TRUE(shell.Start(start, error)) << error;
}

void DeskplanTest::SetUp() {
  WineTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  std::string failure;
  ASSERT_TRUE(ForgetDeskplan(failure)) << "a previous test left Deskplan's key behind; " << failure;
  // A test that died while Wine played another version must not leave it on.
  const std::string versionKey = std::string(kWineAppDefaults) + "Deskplan.exe";
  if (RegKeyExists(versionKey)) DeleteRegKey(versionKey);
}

void ReportTiming(const std::string& line) {
  std::printf("[ TIMING   ] %s\n", line.c_str());
  std::ofstream(ArtifactsDir() + "/deskplan_timing.txt", std::ios::app) << line << "\n";
}

std::string RegFileQuoted(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace e2e
