// Starts e2e/testshell under Wine and talks to it over its line protocol
// (see e2e/testshell/shell_commands.h). The shell is ended when the client
// goes away.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

namespace e2e {

struct ShellItem {
  int index = 0;
  int x = 0;
  int y = 0;
  std::string caption;  // Windows-1252 bytes
};

struct ShellStart {
  std::string fixture;               // file name under e2e/fixtures, or an absolute Linux path
  bool workerHost = false;           // "WorkerW" host instead of "Progman"
  int decoyWorkers = 0;              // WorkerW windows without a shell view before the host
  bool emptyProgman = false;         // with a WorkerW host, a "Progman" without a view too
  bool autoArrange = false;
  bool editLabels = false;
  std::vector<std::string> extraOptions;

  static ShellStart WithFixture(const std::string& name) {
    ShellStart start;
    start.fixture = name;
    return start;
  }
};

class TestShell {
 public:
  TestShell() = default;
  TestShell(const TestShell&) = delete;
  TestShell& operator=(const TestShell&) = delete;
  ~TestShell();

  // Starts the shell and waits for "ready"; on failure `error` says why.
  bool Start(const ShellStart& start, std::string& error,
             std::chrono::milliseconds timeout = std::chrono::seconds(60));

  int Count();
  std::vector<ShellItem> Items();
  bool Item(int index, ShellItem& item);
  bool Move(int index, int x, int y);
  unsigned long Style();
  // Asks the shell to end and returns its exit code (-1 when it did not end).
  int Quit();

  // The raw reply to one command line (the first line of it).
  std::string Ask(const std::string& command);

 private:
  std::unique_ptr<ChildProcess> process_;
  std::chrono::milliseconds replyTimeout_ = std::chrono::seconds(30);
};

bool ParseItemLine(const std::string& line, ShellItem& item);

}  // namespace e2e
