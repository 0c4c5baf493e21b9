#include "deskplan/app/program_state.h"

const char kProgramName[] = "Deskplan";

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
  if (!AppOptions.quiet && text && *text) MessageBoxA(nullptr, text, kProgramName, boxType);
  if (endProgram) ExitProcess(0);
}
