// kernel32's renames and temporary file names over the simulated file system,
// with the error codes Windows gives.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/component.h"
#include "core/os_state.h"
#include "core/trace.h"
#include "files/file_system.h"

using namespace winsim::detail;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool Stat(const std::string &hostPath, struct stat &info) { return stat(hostPath.c_str(), &info) == 0; }

bool OpenWithoutDeleteSharing(const std::string &hostPath) {
  for (auto &open : OpenFilesAt(hostPath))
    if (!(open->share & FILE_SHARE_DELETE)) return true;
  return false;
}

BOOL MoveFile(LPCSTR existingName, LPCSTR newName, bool replace) {
  std::string from, to;
  if (DWORD error = ResolveWindowsPath(existingName, from)) return Fail(error);
  if (DWORD error = ResolveWindowsPath(newName, to)) return Fail(error);
  struct stat source, target;
  if (!Stat(from, source)) return Fail(ErrorForErrno(errno, from));
  if (OpenWithoutDeleteSharing(from)) return Fail(ERROR_SHARING_VIOLATION);
  if (Stat(to, target) && !(source.st_dev == target.st_dev && source.st_ino == target.st_ino)) {
    if (!replace) return Fail(ERROR_ALREADY_EXISTS);
    // A folder, or a file someone holds open, is not replaced.
    if (S_ISDIR(target.st_mode) || S_ISDIR(source.st_mode) || OpenWithoutDeleteSharing(to))
      return Fail(ERROR_ACCESS_DENIED);
  }
  if (rename(from.c_str(), to.c_str()) != 0) return Fail(ErrorForErrno(errno, to));
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

}  // namespace

BOOL WINAPI MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
  Record("MoveFileExA", std::string(existingName ? existingName : "") + "|" + (newName ? newName : "") + "|" +
                            std::to_string(flags));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("MoveFileExA")) return Fail(fault);
  if (Os().version.platformId == VER_PLATFORM_WIN32_WINDOWS) return Fail(ERROR_CALL_NOT_IMPLEMENTED);
  if (flags & ~static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
    return Fail(ERROR_INVALID_PARAMETER);
  return MoveFile(existingName, newName, (flags & MOVEFILE_REPLACE_EXISTING) != 0);
}

BOOL WINAPI MoveFileA(LPCSTR existingName, LPCSTR newName) {
  Record("MoveFileA", std::string(existingName ? existingName : "") + "|" + (newName ? newName : ""));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("MoveFileA")) return Fail(fault);
  return MoveFile(existingName, newName, false);
}

UINT WINAPI GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  Record("GetTempFileNameA", pathName ? pathName : "");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("GetTempFileNameA")) {
    SetLastError(fault);
    return 0;
  }
  if (!pathName || !prefix || !tempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string folder = pathName;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  std::string hostFolder;
  struct stat info;
  if (ResolveWindowsPath(folder.c_str(), hostFolder) != ERROR_SUCCESS || !Stat(hostFolder, info) ||
      !S_ISDIR(info.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  const std::string start = folder + std::string(prefix).substr(0, 3);
  auto nameOf = [&](UINT number) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", number & 0xFFFF);
    return start + digits + ".TMP";
  };
  if (start.size() + 4 + 4 >= MAX_PATH) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return 0;
  }
  if (unique != 0) {
    std::strcpy(tempFileName, nameOf(unique).c_str());
    return unique & 0xFFFF;
  }
  for (int tries = 0; tries < 0xFFFF; ++tries) {
    const UINT number = Files().nextTemporaryNumber;
    Files().nextTemporaryNumber = number % 0xFFFF + 1;
    const std::string name = nameOf(number);
    std::string hostPath;
    if (DWORD error = ResolveWindowsPath(name.c_str(), hostPath)) {
      SetLastError(error);
      return 0;
    }
    const int descriptor = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0 && errno == EEXIST) continue;
    if (descriptor < 0) {
      SetLastError(ErrorForErrno(errno, hostPath));
      return 0;
    }
    close(descriptor);
    std::strcpy(tempFileName, name.c_str());
    SetLastError(ERROR_SUCCESS);
    return number;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}
