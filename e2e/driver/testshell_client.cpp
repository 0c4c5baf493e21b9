#include "testshell_client.h"

#include <sstream>

#include "../protocol/caption_escape.h"
#include "wine_session.h"

namespace e2e {

TestShell::~TestShell() {
  if (process_ && process_->Started()) {
    Quit();
  }
}

bool TestShell::Start(const ShellStart& start, std::string& error, std::chrono::milliseconds timeout) {
  const std::string fixture = start.fixture.empty() || start.fixture[0] == '/' ? start.fixture
                                                                               : FixturePath(start.fixture);
  std::vector<std::string> args = {"--fixture", WindowsPath(fixture), "--host",
                                   start.workerHost ? "workerw" : "progman"};
  if (start.decoyWorkers > 0) {
    args.push_back("--decoys");
    args.push_back(std::to_string(start.decoyWorkers));
  }
  if (start.emptyProgman) args.push_back("--empty-progman");
  if (start.autoArrange) args.push_back("--autoarrange");
  if (start.editLabels) args.push_back("--editlabels");
  args.insert(args.end(), start.extraOptions.begin(), start.extraOptions.end());

  process_ = std::make_unique<ChildProcess>(WineCommand(ShellProgramPath("testshell.exe"), args));
  if (!process_->Started()) {
    error = "could not start Wine";
    return false;
  }
  std::string line;
  if (!process_->ReadLine(line, timeout)) {
    error = "testshell did not report ready";
    process_.reset();
    return false;
  }
  if (line != "ready") {
    error = "testshell said: " + line;
    process_.reset();
    return false;
  }
  return true;
}

std::string TestShell::Ask(const std::string& command) {
  std::string line;
  if (!process_ || !process_->WriteLine(command) || !process_->ReadLine(line, replyTimeout_)) return "";
  return line;
}

int TestShell::Count() {
  std::istringstream reply(Ask("count"));
  std::string word;
  int count = -1;
  reply >> word >> count;
  return word == "count" ? count : -1;
}

bool ParseItemLine(const std::string& line, ShellItem& item) {
  std::istringstream stream(line);
  std::string word;
  std::string caption;
  if (!(stream >> word >> item.index >> item.x >> item.y >> caption) || word != "item") return false;
  return UnescapeCaption(caption, item.caption);
}

std::vector<ShellItem> TestShell::Items() {
  std::vector<ShellItem> items;
  std::string line = Ask("items");
  // An error (no desktop) is the whole reply.
  if (line.compare(0, 6, "error ") == 0) return items;
  while (!line.empty() && line != "end") {
    ShellItem item;
    if (ParseItemLine(line, item)) items.push_back(item);
    if (!process_->ReadLine(line, replyTimeout_)) break;
  }
  return items;
}

bool TestShell::Item(int index, ShellItem& item) { return ParseItemLine(Ask("item " + std::to_string(index)), item); }

bool TestShell::Move(int index, int x, int y) {
  return Ask("move " + std::to_string(index) + " " + std::to_string(x) + " " + std::to_string(y)) == "ok";
}

unsigned long TestShell::Style() {
  std::istringstream reply(Ask("style"));
  std::string word;
  std::string value;
  reply >> word >> value;
  return word == "style" ? std::stoul(value, nullptr, 16) : 0;
}

int TestShell::Quit() {
  if (!process_) return -1;
  Ask("quit");
  process_->CloseInput();
  int code = process_->Wait(std::chrono::seconds(20));
  if (code < 0) process_->Kill();
  process_.reset();
  return code;
}

}  // namespace e2e
