// What the Deskplan end-to-end tests share: running Deskplan.exe under the
// session, its registry key, the layout name of the session's screen, message
// boxes seen through the test shell, scrambling and comparing icons.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "screenshot.h"
#include "testshell_client.h"
#include "wine_registry.h"
#include "wine_session.h"

namespace e2e {

extern const char kProductKey[];  // HKEY_CURRENT_USER\Software\Ostrafen\Deskplan

struct DeskplanRun {
  ProgramResult result;
  double seconds = 0;  // wall time, Wine's start included
};

// Runs Deskplan.exe with the arguments to its end.
DeskplanRun RunDeskplan(const std::vector<std::string>& args,
                        std::chrono::milliseconds timeout = std::chrono::seconds(120));
// Starts Deskplan.exe and leaves it running (a tray, or a run held by a box).
std::unique_ptr<ChildProcess> StartDeskplan(const std::vector<std::string>& args);

// "WxH" of the screen as Windows reports it to the programs of the session.
std::string SessionLayoutName(TestShell& shell);
std::string LayoutKey(const std::string& layoutName);

// Removes everything Deskplan stores, so each test starts from nothing; false
// (with what reg answered) when the key is still there after a few tries.
bool ForgetDeskplan(std::string& failure);
bool DeleteRegKey(const std::string& key);
// The values of one key (empty when it does not exist).
RegKey ReadKey(const std::string& key);

// The text of the "Deskplan" message box once one shows, or false at the limit.
bool WaitForBox(TestShell& shell, std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(30));
bool WaitForTray(TestShell& shell, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Moves every icon to its successor's place, offset a little, so that none
// stays where it was; returns the new state.
std::vector<ShellItem> ScrambleIcons(TestShell& shell);
void ExpectSamePositions(const std::vector<ShellItem>& actual, const std::vector<ShellItem>& expected);
// The same number of icons, each at the same place (for polling).
bool SamePlaces(const std::vector<ShellItem>& actual, const std::vector<ShellItem>& expected);

// A value name as a .reg file writes it: in double quotes, with backslashes
// and double quotes escaped.
std::string RegFileQuoted(const std::string& name);

// Little-endian reading of value data.
int Int32At(const std::string& data, std::size_t offset);

// Wine reports the given Windows version ("win98", ...) to one program name
// for as long as this object lives.
class WineVersionFor {
 public:
  WineVersionFor(const std::string& program, const std::string& version);
  ~WineVersionFor();
  WineVersionFor(const WineVersionFor&) = delete;
  WineVersionFor& operator=(const WineVersionFor&) = delete;
  bool Applied() const { return applied_; }
  const std::string& Key() const { return key_; }

 private:
  std::string key_;
  bool applied_ = false;
};

// Base of the Deskplan suites: the session, the build, and no stored state.
class DeskplanTest : public WineTest {
 protected:
  void SetUp() override;
  // Starts the test shell on a fixture, with options of its modes.
  static void StartShell(TestShell& shell, const std::string& fixture, const std::vector<std::string>& options = {});
};

// Appends a line to <artifacts>/deskplan_timing.txt and prints it.
void ReportTiming(const std::string& line);

}  // namespace e2e
