// Deskplan's Windows entry: everything runs in RunDeskplan, so native tests
// can run the whole program in-process.
#include <cstdlib>

#include <windows.h>

#include "deskplan/app/deskplan_entry.h"

// What the run time does if an exception ever escaped to std::terminate. Its
// default handler prints the exception's demangled type to the standard error
// stream, which a GUI program does not have; it also brings in the C++
// demangler, about 46 KB of the shipped program. Ours only ends the program,
// as the default one does after printing.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunDeskplan(); }
