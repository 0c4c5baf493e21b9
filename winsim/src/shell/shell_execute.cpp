// ShellExecuteA, recorded; and which files exist (GetFileAttributesA).
#include <shellapi.h>

#include "core/component.h"
#include "core/trace.h"
#include "files/file_system.h"
#include "shell/shell_state.h"

using namespace winsim::detail;

namespace {

bool HasScheme(const std::string &file) {
  size_t colon = file.find("://");
  return colon != std::string::npos && colon > 1;
}

bool IsBareName(const std::string &file) { return file.find_first_of("\\/:") == std::string::npos; }

bool FileExists(const std::string &path) {
  auto &shell = Shell();
  std::string full = IsBareName(path) ? shell.currentDirectory + "\\" + path : path;
  return shell.existingFiles.count(UpperName(full)) != 0;
}

}  // namespace

HINSTANCE WINAPI ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                               int showCommand) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  winsim::ShellExecuteCall call;
  call.window = window;
  call.operation = operation ? operation : "";
  call.file = file ? file : "";
  call.parameters = parameters ? parameters : "";
  call.directory = directory ? directory : "";
  call.showCommand = showCommand;
  Record("ShellExecuteA", call.operation + " " + call.file);
  Shell().shellExecuteCalls.push_back(call);
  // Values above 32 report success.
  if (HasScheme(call.file) || FileExists(call.file)) return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(42));
  return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(SE_ERR_FNF));
}

// A file declared to exist, else what the drive folders hold.
DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!fileName) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (FileExists(fileName)) return FILE_ATTRIBUTE_ARCHIVE;
  const std::string full = IsBareName(fileName) ? Shell().currentDirectory + "\\" + fileName : fileName;
  return DriveFileAttributes(full.c_str());
}

namespace winsim {

std::vector<ShellExecuteCall> ShellExecuteCalls() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  return detail::Shell().shellExecuteCalls;
}

void AddExistingFile(const std::string &windowsPath) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Shell().existingFiles.insert(detail::UpperName(windowsPath));
}

void SetCurrentDirectory(const std::string &windowsPath) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  detail::Shell().currentDirectory = windowsPath;
}

}  // namespace winsim
