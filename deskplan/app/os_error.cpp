#include "deskplan/app/os_error.h"

#include <cstdio>

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
  std::string systemText = SystemMessageText(code);
  std::string text(64 + systemText.size(), '\0');
  int length = std::snprintf(&text[0], text.size(), "Erreur système.  Code : %d.\r\n%s", static_cast<int>(code),
                             systemText.c_str());
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

}  // namespace

OsError::OsError(DWORD code, const void *raisedAt) : code_(code), text_(ErrorText(code)), raisedAt_(raisedAt) {}

// Kept out of line so that its return address is the place that failed.
__attribute__((noinline)) void RaiseLastOsError() {
  DWORD code = GetLastError();
  throw OsError(code, __builtin_return_address(0));
}
