// The export's text file, written line by line with CR LF ends through one
// owned handle into a temporary file beside the target, and put in the
// target's place only once whole. An earlier file of the target's name stays
// as it was until then; a temporary file that was not finished is emptied,
// closed and removed when its writer goes.
#pragma once

#include <string>

#include <windows.h>

#include "common/unique_any.h"

class ExportFileWriter {
 public:
  ExportFileWriter() = default;
  ~ExportFileWriter();
  ExportFileWriter(const ExportFileWriter &) = delete;
  ExportFileWriter &operator=(const ExportFileWriter &) = delete;

  // Creates the temporary file in the target's folder.
  bool Create(const std::string &targetPath);
  // Writes the line and its CR LF; false when not all of it was written.
  bool WriteLine(const std::string &line);
  // Closes the file and puts it in the target's place, replacing an earlier
  // file there; false when that failed, the earlier file then left whole.
  bool Finish();

 private:
  bool PutInPlace();

  UniqueHandle file_;
  std::string target_;
  std::string temporary_;
  bool placed_ = false;
};
