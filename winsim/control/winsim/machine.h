// The test-facing control of the simulated machine: reset it, run a program in
// it, and set up the operating system the program sees.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <windows.h>

#include "winsim/trace.h"

namespace winsim {

// ExitProcess throws this; only RunProgram (the harness) catches it.
struct ProcessExit {
  unsigned code;
};

// Puts every part of the machine back to its initial state.
void Reset();

// Runs a program entry in the machine and answers its exit code: the entry's
// result, or the code given to ExitProcess.
int RunProgram(const std::function<int()> &entry);

struct OsVersion {
  DWORD platformId = VER_PLATFORM_WIN32_NT;
  DWORD major = 6;
  DWORD minor = 1;
  DWORD build = 7601;
  std::string csdVersion = "Service Pack 1";
  WORD servicePackMajor = 1;
  WORD servicePackMinor = 0;
  BYTE productType = VER_NT_WORKSTATION;
  // Whether GetVersionExA/W accept the extended (EX) structures, as from NT 4 SP6.
  bool acceptsExtendedInfo = true;
};

OsVersion Windows95();
OsVersion Windows98();
OsVersion Windows98SE();
OsVersion WindowsMe();
OsVersion WindowsNT351();
OsVersion WindowsNT4();
OsVersion Windows2000();
OsVersion WindowsXP();
OsVersion WindowsVista();
OsVersion Windows7();
OsVersion Windows10();

void SetOsVersion(const OsVersion &version);

// The command line GetCommandLineA answers, program name included.
void SetCommandLine(const std::string &commandLine);
// The program's own module file name (GetModuleFileNameA with no module).
void SetProgramPath(const std::string &path);

// GetSystemMetrics. SetScreen sets the primary screen and, unless set apart,
// the virtual screen to the same size.
void SetScreen(int width, int height);
void SetVirtualScreen(int width, int height);
void SetSystemMetric(int index, int value);

// Optional exports: a function the system lacks is answered "absent" by
// GetProcAddress. Module names are compared without regard to case.
void RemoveExport(const std::string &module, const std::string &function);
// LoadLibraryA/LoadLibraryExA of this module answers this value (a value of 32
// or less is how old systems report failure).
void SetLoadLibraryResult(const std::string &module, std::uintptr_t handle);
// Modules loaded with LoadLibrary and not yet freed.
int LoadedLibraryReferences();

// FormatMessageA: the French system texts can be changed or removed per code.
void SetSystemMessage(DWORD code, const std::string &text);
void RemoveSystemMessage(DWORD code);
// Texts a message module (FORMAT_MESSAGE_FROM_HMODULE) holds.
void SetModuleMessage(const std::string &module, DWORD code, const std::string &text);

void SetLocalTime(const SYSTEMTIME &time);

// Kernel handles the program holds open, and LocalAlloc blocks not freed.
int OpenHandleCount();
int LiveLocalAllocations();

}  // namespace winsim
