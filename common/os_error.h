// The operating-system error Deskplan raises when a call it cannot do without
// fails: the last error code and the system's text for it, and the
// application error box that shows it when it breaks off a command.
#pragma once

#include <exception>
#include <string>

#include <windows.h>

// The system's message text for an error code, without the trailing line
// break and full stop (empty when the system has no text for it).
std::string SystemMessageText(DWORD code);

class OsError : public std::exception {
 public:
  explicit OsError(DWORD code, const void *raisedAt = nullptr);
  DWORD Code() const { return code_; }
  // The code address that raised the error, for the application error box.
  const void *RaisedAt() const { return raisedAt_; }
  const char *what() const noexcept override { return text_.c_str(); }

 private:
  DWORD code_;
  std::string text_;
  const void *raisedAt_;
};

// Raises an OsError for GetLastError().
[[noreturn]] void RaiseLastOsError();

// "Exception OsError dans le module <file> dans <address>.\r\n<text>[.]\r\n"
std::string ApplicationErrorText(const OsError &error);
void ShowApplicationErrorBox(const OsError &error);
