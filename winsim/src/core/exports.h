// The functions that the simulated system DLLs export by name, for
// GetProcAddress. Functions the programs must look up at run time are listed
// here and declared only in optional_api.h, never in the public headers.
#pragma once

#include <vector>

#include <windows.h>

namespace winsim::detail {

struct ExportEntry {
  const char *module;
  const char *name;
  FARPROC address;
};

const std::vector<ExportEntry> &ExportTable();

template <class Fn>
FARPROC AsFarProc(Fn *function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace winsim::detail
