#include "common/application_error_box.h"

#include <cstdint>
#include <cstring>

#include <windows.h>

#include "common/number_text.h"

namespace {

std::string ModuleFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const char *slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

// Upper-case hexadecimal, as wide as a pointer of this build.
std::string AddressText(const void *address) {
  return HexText(reinterpret_cast<std::uintptr_t>(address), static_cast<int>(2 * sizeof(void *)));
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
