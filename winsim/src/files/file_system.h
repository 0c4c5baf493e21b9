// The simulated file system: drive letters mapped onto Linux folders, and the
// files the program holds open.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "core/handles.h"

namespace winsim::detail {

// One CreateFileA: a Linux descriptor with the access and sharing asked for.
struct FileObject : KernelObject {
  ~FileObject() override;
  int descriptor = -1;
  std::string hostPath;
  DWORD access = 0;
  DWORD share = 0;
};

struct FileSystemState {
  std::map<char, std::string> drives;  // upper-case letter -> Linux folder
  std::vector<std::weak_ptr<FileObject>> open;
  unsigned nextTemporaryNumber = 1;  // GetTempFileNameA's next try
};

FileSystemState &Files();

// Maps a Windows path onto the Linux file system. Answers ERROR_SUCCESS and
// the Linux path, or the error Windows gives for such a path.
DWORD ResolveWindowsPath(const char *windowsPath, std::string &hostPath);

// The open files on this Linux path.
std::vector<std::shared_ptr<FileObject>> OpenFilesAt(const std::string &hostPath);

// GetFileAttributesA of a file or folder on the drive folders: its attributes,
// or INVALID_FILE_ATTRIBUTES with the last error set.
DWORD DriveFileAttributes(const char *windowsPath);

// The Windows error for a failed Linux call on `hostPath`.
DWORD ErrorForErrno(int error, const std::string &hostPath);

}  // namespace winsim::detail
