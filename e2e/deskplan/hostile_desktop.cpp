#include "hostile_desktop.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "../protocol/caption_escape.h"

namespace e2e {
namespace {

std::string ReadProcFile(int pid, const char* name) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The environment entries are separated by zero bytes.
bool HasEnvironmentEntry(const std::string& environment, const std::string& entry) {
  std::istringstream entries(environment);
  std::string found;
  while (std::getline(entries, found, '\0'))
    if (found == entry) return true;
  return false;
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

}  // namespace

std::string LayoutText(const std::string& key) {
  if (!RegKeyExists(key)) return "absent";
  std::vector<std::string> lines;
  for (const RegValue& value : ReadKey(key).values)
    lines.push_back(Windows1252ToUtf8(value.name) + ":" + std::to_string(value.type) + ":" + Hex(value.data));
  std::sort(lines.begin(), lines.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::vector<int> SessionProcesses(const std::string& program) {
  std::vector<int> found;
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) return found;
  const std::string wanted = Lower(program);
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  while (const dirent* entry = readdir(proc)) {
    const int pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    if (Lower(ReadProcFile(pid, "cmdline")).find(wanted) == std::string::npos) continue;
    if (HasEnvironmentEntry(ReadProcFile(pid, "environ"), std::string("WINEPREFIX=") + prefix)) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

bool WaitForShellEnd(TestShell& shell, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (shell.Ask("pid").empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

bool AwaitErrorBox(ChildProcess& run, TestShell& reader, const std::string& screenshotName, std::string& text,
                   std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string reply = reader.Ask("appbox");
    // Just after a box appears its text may still be empty.
    if (reply.compare(0, 4, "box ") == 0 && reply.size() > 4) {
      const bool read = UnescapeCaption(reply.substr(4), text);
      TakeScreenshot(screenshotName);
      reader.Ask("appanswer 1");
      return read;
    }
    if (run.Wait(std::chrono::milliseconds(0)) >= 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

RunEnd AwaitRunEnd(ChildProcess& run, TestShell& reader, const std::string& screenshotName,
                   std::chrono::milliseconds timeout) {
  RunEnd end;
  end.boxShown = AwaitErrorBox(run, reader, screenshotName, end.boxText, timeout);
  end.exitCode = run.Wait(std::chrono::seconds(30));
  return end;
}

namespace {

// The export files in the documents folder of the session's user, by Linux path.
std::vector<std::string> ExportFiles() {
  std::vector<std::string> files;
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) return files;
  const std::string users = std::string(prefix) + "/drive_c/users";
  DIR* dir = opendir(users.c_str());
  if (dir == nullptr) return files;
  std::vector<std::string> folders;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && name != "Public") folders.push_back(users + "/" + name + "/Documents");
  }
  closedir(dir);
  for (const std::string& folder : folders) {
    DIR* documents = opendir(folder.c_str());
    if (documents == nullptr) continue;
    while (const dirent* entry = readdir(documents)) {
      const std::string name = entry->d_name;
      if (name.compare(0, 17, "Deskplan_4.2.0.0_") == 0) files.push_back(folder + "/" + name);
    }
    closedir(documents);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::string TodaysExport() {
  const std::vector<std::string> files = ExportFiles();
  if (files.empty()) return "";
  std::ifstream file(files.back(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void RemoveTodaysExports() {
  for (const std::string& file : ExportFiles()) std::remove(file.c_str());
}

}  // namespace e2e
