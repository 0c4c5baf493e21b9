#include "common/os_error.h"

#include "common/application_error_box.h"
#include "common/number_text.h"
#include "common/system_message.h"

std::string SystemMessageText(DWORD code) {
  return SystemMessageWithoutStops(code, FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, 1024);
}

namespace {

std::string ErrorText(DWORD code) {
  if (code == 0) return "Un appel à une fonction du système d'exploitation a échoué";
  // The code as a signed decimal number.
  return "Erreur système.  Code : " + DecimalText(static_cast<int>(code)) + ".\r\n" + SystemMessageText(code);
}

}  // namespace

OsError::OsError(DWORD code, const void *raisedAt) : code_(code), text_(ErrorText(code)), raisedAt_(raisedAt) {}

// Kept out of line so that its return address is the place that failed.
__attribute__((noinline)) void RaiseLastOsError() {
  DWORD code = GetLastError();
  throw OsError(code, __builtin_return_address(0));
}

std::string ApplicationErrorText(const OsError &error) {
  return ApplicationErrorText("OsError", error.RaisedAt(), error.what());
}

void ShowApplicationErrorBox(const OsError &error) { ShowApplicationErrorText(ApplicationErrorText(error)); }
