#include "deskplan/app/export_file_writer.h"

ExportFileWriter::~ExportFileWriter() {
  // Created but not finished: what is there is not a whole export. It is
  // emptied before it is closed, so that should it then resist removal, no
  // part of an export is left that the registry editor would import.
  if (file_ && SetFilePointer(file_, 0, nullptr, FILE_BEGIN) == 0) SetEndOfFile(file_);
  CloseHandleIfOpen();
  if (!path_.empty() && !finished_) DeleteFileA(path_.c_str());
}

bool ExportFileWriter::Create(const std::string &path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  file_ = file;
  path_ = path;
  return true;
}

bool ExportFileWriter::WriteLine(const std::string &line) {
  if (!file_) return false;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  return WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool ExportFileWriter::Finish() {
  if (!file_) return false;
  HANDLE file = file_;
  file_ = nullptr;
  finished_ = CloseHandle(file) != FALSE;
  return finished_;
}

void ExportFileWriter::CloseHandleIfOpen() {
  if (!file_) return;
  CloseHandle(file_);
  file_ = nullptr;
}
