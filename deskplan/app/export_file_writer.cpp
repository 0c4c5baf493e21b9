#include "deskplan/app/export_file_writer.h"

namespace {

const char kTemporaryPrefix[] = "Dsk";

// The folder part of a path, with its final backslash.
std::string FolderOf(const std::string &path) {
  const std::string::size_type slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

// A name beside `path` that no file has; the empty file made for it is gone
// again, so that a rename can take the name.
std::string FreeNameBeside(const std::string &path) {
  char name[MAX_PATH] = {};
  if (GetTempFileNameA(FolderOf(path).c_str(), kTemporaryPrefix, 0, name) == 0) return std::string();
  if (!DeleteFileA(name)) return std::string();
  return name;
}

// A file that resists removal is at least emptied, so that no copy of an
// export is left under a temporary name.
void RemoveOrEmpty(const std::string &path) {
  if (DeleteFileA(path.c_str())) return;
  UniqueHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

ExportFileWriter::~ExportFileWriter() {
  // Not put in place: emptied before it is closed, so that should it then
  // resist removal, no part of an export is left behind.
  if (file_ && SetFilePointer(file_.Get(), 0, nullptr, FILE_BEGIN) == 0) SetEndOfFile(file_.Get());
  const bool emptied = static_cast<bool>(file_);
  file_.Reset();
  if (temporary_.empty() || placed_) return;
  if (emptied)
    DeleteFileA(temporary_.c_str());
  else
    RemoveOrEmpty(temporary_);
}

bool ExportFileWriter::Create(const std::string &targetPath) {
  char name[MAX_PATH] = {};
  if (GetTempFileNameA(FolderOf(targetPath).c_str(), kTemporaryPrefix, 0, name) == 0) return false;
  temporary_ = name;
  target_ = targetPath;
  file_.Reset(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file_);
}

bool ExportFileWriter::WriteLine(const std::string &line) {
  if (!file_) return false;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  return WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool ExportFileWriter::Finish() {
  if (!file_) return false;
  if (!CloseHandle(file_.Release())) return false;
  placed_ = PutInPlace();
  return placed_;
}

// One step where the system can replace a file by a rename. Elsewhere (the
// Windows 9x family) the earlier file steps aside under a free name, and comes
// back when the new one cannot take its place.
bool ExportFileWriter::PutInPlace() {
  if (MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  if (MoveFileA(temporary_.c_str(), target_.c_str())) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return false;
  const std::string aside = FreeNameBeside(target_);
  if (aside.empty() || !MoveFileA(target_.c_str(), aside.c_str())) return false;
  if (!MoveFileA(temporary_.c_str(), target_.c_str())) {
    MoveFileA(aside.c_str(), target_.c_str());
    return false;
  }
  RemoveOrEmpty(aside);
  return true;
}
