#include "common/application_error_box.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include <windows.h>

namespace {

std::string ModuleFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const char *slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

// Upper-case hexadecimal, as wide as a pointer of this build.
std::string AddressText(const void *address) {
  char text[2 * sizeof(void *) + 1];
  std::snprintf(text, sizeof text, "%0*llX", static_cast<int>(2 * sizeof(void *)),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
  return text;
}

}  // namespace

std::string ApplicationErrorText(const char *exceptionName, const void *raisedAt, const std::string &text) {
  std::string fullStop = !text.empty() && text.back() == '.' ? "" : ".";
  return std::string("Exception ") + exceptionName + " dans le module " + ModuleFileName() + " dans " +
         AddressText(raisedAt) + ".\r\n" + text + fullStop + "\r\n";
}

void ShowApplicationErrorText(const std::string &text) {
  MessageBoxA(nullptr, text.c_str(), "Erreur d'application", MB_TASKMODAL | MB_ICONERROR);
}
