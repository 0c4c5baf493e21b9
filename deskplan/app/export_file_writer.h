// The export's text file: created or emptied, written line by line with CR LF
// ends through one owned handle. A file that was not finished is emptied,
// closed and removed when its writer goes, so no partial export is left
// behind, and at worst an empty file when the removal is refused.
#pragma once

#include <string>

#include <windows.h>

class ExportFileWriter {
 public:
  ExportFileWriter() = default;
  ~ExportFileWriter();
  ExportFileWriter(const ExportFileWriter &) = delete;
  ExportFileWriter &operator=(const ExportFileWriter &) = delete;

  // Creates the file, replacing any file of that name.
  bool Create(const std::string &path);
  // Writes the line and its CR LF; false when not all of it was written.
  bool WriteLine(const std::string &line);
  // Closes the file and keeps it; false when closing failed.
  bool Finish();

 private:
  void CloseHandleIfOpen();

  HANDLE file_ = nullptr;
  std::string path_;
  bool finished_ = false;
};
