#include "files/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/component.h"
#include "winsim/files.h"

namespace winsim {
namespace detail {
namespace {

// Drive C: when no test mapped it: a scratch folder for the whole process,
// made on first use and removed at its end.
class ScratchDrive {
 public:
  ScratchDrive() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/winsim-drive-c-XXXXXX";
    if (mkdtemp(pattern.data())) {
      folder_ = pattern;
      std::error_code ignored;
      // The default documents folder, the program's folder and the system folder.
      for (const char *folder : {"/Users/Marie/Documents", "/Program Files/Deskplan", "/WINDOWS/system32"})
        std::filesystem::create_directories(folder_ + folder, ignored);
    }
  }
  ~ScratchDrive() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  const std::string &Folder() const { return folder_; }

 private:
  std::string folder_;
};

const std::string &ScratchDriveFolder() {
  static ScratchDrive drive;
  return drive.Folder();
}

bool InvalidNameCharacter(unsigned char c) {
  return c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*';
}

bool SameIgnoringAsciiCase(const std::string &a, const std::string &b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The entry of `folder` that `name` names on Windows: itself when it exists,
// else one that differs only in letter case, else the name as given.
std::string FindEntry(const std::string &folder, const std::string &name) {
  struct stat info;
  if (lstat((folder + "/" + name).c_str(), &info) == 0) return name;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::string candidate = entry->path().filename().string();
    if (SameIgnoringAsciiCase(candidate, name)) return candidate;
  }
  return name;
}

}  // namespace

FileObject::~FileObject() {
  if (descriptor >= 0) close(descriptor);
}

FileSystemState &Files() { return Component<FileSystemState>(); }

DWORD ResolveWindowsPath(const char *windowsPath, std::string &hostPath) {
  if (!windowsPath || !*windowsPath) return ERROR_PATH_NOT_FOUND;
  std::string path(windowsPath);
  if (path.size() >= MAX_PATH) return 206;  // ERROR_FILENAME_EXCED_RANGE
  for (char &c : path)
    if (c == '/') c = '\\';
  char drive = 'C';
  std::string rest = path;
  if (path.size() >= 2 && path[1] == ':') {
    drive = path[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    if (drive < 'A' || drive > 'Z') return ERROR_INVALID_NAME;
    rest = path.substr(2);
  } else if (path.compare(0, 2, "\\\\") == 0) {
    return 53;  // ERROR_BAD_NETPATH: no network here
  }
  std::string folder;
  auto mapped = Files().drives.find(drive);
  if (mapped != Files().drives.end()) {
    folder = mapped->second;
  } else if (drive == 'C') {
    folder = ScratchDriveFolder();
  }
  if (folder.empty()) return ERROR_PATH_NOT_FOUND;

  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    std::string part = rest.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    for (unsigned char c : part)
      if (InvalidNameCharacter(c)) return ERROR_INVALID_NAME;
    parts.push_back(part);
  }
  hostPath = folder;
  for (const std::string &part : parts) hostPath += "/" + FindEntry(hostPath, part);
  return ERROR_SUCCESS;
}

std::vector<std::shared_ptr<FileObject>> OpenFilesAt(const std::string &hostPath) {
  std::vector<std::shared_ptr<FileObject>> found;
  auto &open = Files().open;
  for (auto entry = open.begin(); entry != open.end();) {
    if (auto file = entry->lock()) {
      if (file->hostPath == hostPath) found.push_back(file);
      ++entry;
    } else {
      entry = open.erase(entry);
    }
  }
  return found;
}

DWORD ErrorForErrno(int error, const std::string &hostPath) {
  switch (error) {
    case ENOENT: {
      struct stat info;
      std::string parent = std::filesystem::path(hostPath).parent_path().string();
      return stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return 206;  // ERROR_FILENAME_EXCED_RANGE
    default:
      return ERROR_ACCESS_DENIED;
  }
}

DWORD DriveFileAttributes(const char *windowsPath) {
  std::string hostPath;
  if (DWORD error = ResolveWindowsPath(windowsPath, hostPath)) {
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat info;
  if (stat(hostPath.c_str(), &info) != 0) {
    SetLastError(ErrorForErrno(errno, hostPath));
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return (info.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY;
}

}  // namespace detail

void MapDrive(char letter, const std::string &hostFolder) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  detail::Files().drives[letter] = hostFolder;
}

std::string HostPath(const std::string &windowsPath) {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  std::string hostPath;
  return detail::ResolveWindowsPath(windowsPath.c_str(), hostPath) == ERROR_SUCCESS ? hostPath : std::string();
}

int OpenFileCount() {
  std::lock_guard<std::recursive_mutex> lock(detail::MachineLock());
  int count = 0;
  for (auto &entry : detail::Files().open)
    if (!entry.expired()) ++count;
  return count;
}

}  // namespace winsim
