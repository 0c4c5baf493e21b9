#include "deskplan/app/show_notice.h"

#include "deskplan/app/program_state.h"

void ShowNotice(const char *text, UINT boxType, bool endProgram) {
  if (!AppOptions.quiet && text && *text) MessageBoxA(nullptr, text, "Deskplan", boxType);
  if (endProgram) ExitProcess(0);
}
