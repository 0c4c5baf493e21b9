// A Linux child process with pipes on its standard input and output, for
// driving programs under Wine. The child is killed and reaped when the object
// goes away, so a failing test never leaves it behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace e2e {

class ChildProcess {
 public:
  // Starts argv[0] (searched in PATH) with the current environment.
  explicit ChildProcess(const std::vector<std::string>& argv);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  bool WriteLine(const std::string& line);
  void CloseInput();
  // Reads one line (without its end); false on end of output or timeout.
  bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
  // Everything the child writes until it closes its output or the time is up.
  std::string ReadAll(std::chrono::milliseconds timeout);
  // The exit code (128 + signal when killed by one), or -1 on timeout.
  int Wait(std::chrono::milliseconds timeout);
  void Kill();

 private:
  bool FillBuffer(std::chrono::steady_clock::time_point deadline);

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int exitCode_ = -1;
  bool reaped_ = false;
  std::string buffered_;
};

struct ProgramResult {
  int exitCode = -1;
  bool timedOut = false;
  std::string output;  // standard output
};

// Runs a program to its end with a time limit; on timeout it is killed.
ProgramResult RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

}  // namespace e2e
