#include "cleanslate/error_box.h"

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

std::string ResetErrorText(const ResetError &error) {
  std::string text = error.what();
  std::string fullStop = !text.empty() && text.back() == '.' ? "" : ".";
  return "Exception ResetError dans le module " + ModuleFileName() + " dans " + AddressText(error.RaisedAt()) +
         ".\r\n" + text + fullStop + "\r\n";
}

void ShowResetErrorBox(const ResetError &error) {
  MessageBoxA(nullptr, ResetErrorText(error).c_str(), "Erreur d'application", MB_TASKMODAL | MB_ICONERROR);
}
