#include "deskplan/app/program_state.h"

AppOptionFlags AppOptions;
std::string desktopHostClass;
HWND DesktopListView = nullptr;
bool protectionInForce = false;

void ResetProgramState() {
  AppOptions = AppOptionFlags();
  desktopHostClass.clear();
  DesktopListView = nullptr;
  protectionInForce = false;
}

void ShowNotice(const char *text, UINT boxType, bool endProgram) {
  if (!AppOptions.quiet && text && *text) MessageBoxA(nullptr, text, "Deskplan", boxType);
  if (endProgram) ExitProcess(0);
}
