#include "deskplan/layout/confirm_overwrite.h"

#include <windows.h>

#include "deskplan/app/program_state.h"

bool ConfirmOverwrite(const std::string &layoutName) {
  if (AppOptions.quiet) return true;
  // Line feed then carriage return, in that order: the question's own bytes.
  std::string text = "Un enregistrement du bureau [" + layoutName + "] existe déjà." + "\n\r" +
                     "Voulez-vous le supprimer et le remplacer par celui-ci ?";
  return MessageBoxA(nullptr, text.c_str(), "Deskplan", MB_YESNO | MB_ICONQUESTION) == IDYES;
}
