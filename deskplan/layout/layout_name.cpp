#include "deskplan/layout/layout_name.h"

#include <windows.h>

#include "common/number_text.h"

const char ProductKeyPath[] = "Software\\Ostrafen\\Deskplan";

namespace {
bool SystemHasMultipleMonitorSupport() {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 && GetProcAddress(user32, "GetMonitorInfoA");
}
}  // namespace

std::string GetLayoutName() {
  bool multiMonitor = SystemHasMultipleMonitorSupport();
  int width = GetSystemMetrics(multiMonitor ? SM_CXVIRTUALSCREEN : SM_CXSCREEN);
  int height = GetSystemMetrics(multiMonitor ? SM_CYVIRTUALSCREEN : SM_CYSCREEN);
  return DecimalText(width) + "x" + DecimalText(height);
}

std::string LayoutKeyPath(const std::string &layoutName) { return std::string(ProductKeyPath) + "\\" + layoutName; }
