#include "deskplan/app/os_error.h"

#include "common/number_text.h"

std::string SystemMessageText(DWORD code) {
  char buffer[1024] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                buffer, sizeof buffer, nullptr);
  if (length >= sizeof buffer) length = sizeof buffer - 1;
  while (length > 0) {
    unsigned char last = static_cast<unsigned char>(buffer[length - 1]);
    if (last > ' ' && last != '.') break;
    --length;
  }
  return std::string(buffer, length);
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
