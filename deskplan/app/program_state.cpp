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
