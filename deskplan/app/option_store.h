// Where Deskplan keeps its options: REG_DWORD 1 or 0 under
// HKEY_CURRENT_USER "Software\Ostrafen\Deskplan\Options".
#pragma once

extern const char OptionsKeyPath[];
extern const char kStartupOption[];    // "Démarrage": restoreAtStartup
extern const char kAutomaticOption[];  // "Automatique": autoRestore
extern const char kProtectionOption[]; // "Protection": protectIconNames

// Creates the key when missing; a failure is silent.
void WriteOption(const char *name, bool value);
// Reads the three options into AppOptions; a missing value, one of another
// type or an unreadable key leaves the flag as it is.
void ReadOptions();
