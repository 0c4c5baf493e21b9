#include "deskplan/app/option_store.h"

#include <windows.h>

#include "deskplan/app/program_state.h"
#include "deskplan/app/reg_ctrl.h"

const char OptionsKeyPath[] = "Software\\Ostrafen\\Deskplan\\Options";
const char kStartupOption[] = "Démarrage";
const char kAutomaticOption[] = "Automatique";
const char kProtectionOption[] = "Protection";

void WriteOption(const char *name, bool value) { WriteRegBool(HKEY_CURRENT_USER, OptionsKeyPath, name, value); }

void ReadOptions() {
  AppOptions.restoreAtStartup =
      ReadRegBool(HKEY_CURRENT_USER, OptionsKeyPath, kStartupOption, AppOptions.restoreAtStartup);
  AppOptions.autoRestore = ReadRegBool(HKEY_CURRENT_USER, OptionsKeyPath, kAutomaticOption, AppOptions.autoRestore);
  AppOptions.protectIconNames =
      ReadRegBool(HKEY_CURRENT_USER, OptionsKeyPath, kProtectionOption, AppOptions.protectIconNames);
}
