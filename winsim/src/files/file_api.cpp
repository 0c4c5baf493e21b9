// kernel32's file functions over the simulated file system: Windows creation
// dispositions, sharing modes and error codes, Linux files underneath.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/component.h"
#include "core/trace.h"
#include "files/file_system.h"

using namespace winsim::detail;

namespace {

bool Conflicts(const FileObject &open, DWORD access, DWORD share) {
  return ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) ||
         ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) ||
         ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) ||
         ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ));
}

bool IsFolder(const std::string &hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string &hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0;
}

int OpenFlags(DWORD access, DWORD disposition) {
  int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW:
      return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
      return flags | O_CREAT | O_TRUNC;
    case OPEN_ALWAYS:
      return flags | O_CREAT;
    case TRUNCATE_EXISTING:
      return flags | O_TRUNC;
    default:
      return flags;
  }
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                          DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  (void)attributes;
  (void)flagsAndAttributes;
  Record("CreateFileA", fileName ? fileName : "");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("CreateFileA")) {
    SetLastError(fault);
    return INVALID_HANDLE_VALUE;
  }
  if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING || templateFile ||
      (creationDisposition == TRUNCATE_EXISTING && !(desiredAccess & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string hostPath;
  if (DWORD error = ResolveWindowsPath(fileName, hostPath)) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  if (IsFolder(hostPath)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  for (auto &open : OpenFilesAt(hostPath)) {
    if (Conflicts(*open, desiredAccess, shareMode)) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return INVALID_HANDLE_VALUE;
    }
  }
  const bool existed = Exists(hostPath);
  int flags = OpenFlags(desiredAccess, creationDisposition);
  // Truncation needs a descriptor open for writing on Linux.
  if ((flags & O_TRUNC) && (flags & O_ACCMODE) == O_RDONLY) flags = (flags & ~O_ACCMODE) | O_RDWR;
  int descriptor = open(hostPath.c_str(), flags | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    SetLastError(ErrorForErrno(errno, hostPath));
    return INVALID_HANDLE_VALUE;
  }
  auto file = std::make_shared<FileObject>();
  file->descriptor = descriptor;
  file->hostPath = hostPath;
  file->access = desiredAccess;
  file->share = shareMode;
  Files().open.push_back(file);
  HANDLE handle = NewHandle(file);
  const bool reportsExisting = creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS;
  SetLastError(reportsExisting && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
  Record("WriteFile", std::to_string(bytesToWrite));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (bytesWritten) *bytesWritten = 0;
  if (unsigned fault = InjectedFault("WriteFile")) return Fail(fault);
  if (overlapped || !bytesWritten || (!buffer && bytesToWrite)) return Fail(ERROR_INVALID_PARAMETER);
  auto object = HandleObject<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const char *bytes = static_cast<const char *>(buffer);
  DWORD done = 0;
  while (done < bytesToWrite) {
    ssize_t written = write(object->descriptor, bytes + done, bytesToWrite - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      *bytesWritten = done;
      return Fail(ErrorForErrno(errno, object->hostPath));
    }
    done += static_cast<DWORD>(written);
  }
  *bytesWritten = done;
  return TRUE;
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
  Record("ReadFile", std::to_string(bytesToRead));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (bytesRead) *bytesRead = 0;
  if (unsigned fault = InjectedFault("ReadFile")) return Fail(fault);
  if (overlapped || !bytesRead || (!buffer && bytesToRead)) return Fail(ERROR_INVALID_PARAMETER);
  auto object = HandleObject<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
  for (;;) {
    ssize_t read = ::read(object->descriptor, buffer, bytesToRead);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return Fail(ErrorForErrno(errno, object->hostPath));
    *bytesRead = static_cast<DWORD>(read);
    return TRUE;
  }
}

BOOL WINAPI DeleteFileA(LPCSTR fileName) {
  Record("DeleteFileA", fileName ? fileName : "");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("DeleteFileA")) return Fail(fault);
  std::string hostPath;
  if (DWORD error = ResolveWindowsPath(fileName, hostPath)) return Fail(error);
  if (IsFolder(hostPath)) return Fail(ERROR_ACCESS_DENIED);
  for (auto &open : OpenFilesAt(hostPath))
    if (!(open->share & FILE_SHARE_DELETE)) return Fail(ERROR_SHARING_VIOLATION);
  if (unlink(hostPath.c_str()) != 0) return Fail(ErrorForErrno(errno, hostPath));
  return TRUE;
}
