#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace e2e {
namespace {

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  // A child that ended early must fail a write, not end the driver.
  signal(SIGPIPE, SIG_IGN);
  int toChild[2];
  int fromChild[2];
  if (argv.empty() || pipe2(toChild, O_CLOEXEC) != 0) return;
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return;
  }
  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);

  pid_ = fork();
  if (pid_ == 0) {
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    // Its own process group, so Kill() reaches whatever the child starts.
    setpgid(0, 0);
    execvp(arguments[0], arguments.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  if (pid_ < 0) {
    close(toChild[1]);
    close(fromChild[0]);
    return;
  }
  input_ = toChild[1];
  output_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !reaped_) {
    Kill();
  }
  CloseInput();
  if (output_ >= 0) close(output_);
}

bool ChildProcess::WriteLine(const std::string& line) {
  if (input_ < 0) return false;
  const std::string text = line + "\n";
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(input_, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

void ChildProcess::CloseInput() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

bool ChildProcess::FillBuffer(std::chrono::steady_clock::time_point deadline) {
  if (output_ < 0) return false;
  pollfd watch = {output_, POLLIN, 0};
  const int ready = poll(&watch, 1, MillisecondsLeft(deadline));
  if (ready <= 0) return false;
  char chunk[4096];
  const ssize_t got = read(output_, chunk, sizeof chunk);
  if (got <= 0) {
    close(output_);
    output_ = -1;
    return false;
  }
  buffered_.append(chunk, static_cast<std::size_t>(got));
  return true;
}

bool ChildProcess::ReadLine(std::string& line, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string::size_type end;
  while ((end = buffered_.find('\n')) == std::string::npos) {
    if (!FillBuffer(deadline)) return false;
  }
  line = buffered_.substr(0, end);
  buffered_.erase(0, end + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::string ChildProcess::ReadAll(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (FillBuffer(deadline)) {
  }
  std::string all;
  all.swap(buffered_);
  return all;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  if (reaped_) return exitCode_;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      reaped_ = true;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exitCode_;
    }
    if (done < 0 || std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void ChildProcess::Kill() {
  if (pid_ <= 0 || reaped_) return;
  kill(-pid_, SIGKILL);
  kill(pid_, SIGKILL);
  Wait(std::chrono::seconds(10));
}

ProgramResult RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
  ProgramResult result;
  ChildProcess child(argv);
  if (!child.Started()) return result;
  child.CloseInput();
  // Wine's own processes may inherit the output pipe and keep it open, so the
  // end of the program, not the end of its output, ends the run.
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  const auto slice = std::chrono::milliseconds(50);
  while (std::chrono::steady_clock::now() < deadline) {
    result.output += child.ReadAll(slice);
    result.exitCode = child.Wait(std::chrono::milliseconds(0));
    if (result.exitCode >= 0) {
      result.output += child.ReadAll(slice);
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  result.timedOut = true;
  result.exitCode = -1;
  child.Kill();
  return result;
}

}  // namespace e2e
