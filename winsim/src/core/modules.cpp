#include <cstring>
#include <map>
#include <set>
#include <string>

#include "core/component.h"
#include "core/exports.h"
#include "core/os_state.h"
#include "core/trace.h"

namespace winsim {
namespace detail {
namespace {

struct Module {
  const char *name;
  std::uintptr_t handle;
  bool loadedAtStart;  // imported by the program, so GetModuleHandleA finds it
};

const Module kModules[] = {
    {"kernel32.dll", 0x7C800000, true}, {"user32.dll", 0x7E410000, true},   {"advapi32.dll", 0x77DD0000, true},
    {"ntdll.dll", 0x7C900000, true},    {"shell32.dll", 0x7C9C0000, true},  {"gdi32.dll", 0x77F10000, true},
    {"comctl32.dll", 0x5D090000, false}, {"netmsg.dll", 0x6E400000, false}, {"svrapi.dll", 0x7F600000, false},
};
const std::uintptr_t kProgramModule = 0x400000;

struct ModuleState {
  std::set<std::string> removedExports;  // "module!function", lower-case module
  std::map<std::string, std::uintptr_t> loadResults;
  std::map<std::uintptr_t, int> loadReferences;
};

ModuleState &Modules() { return Component<ModuleState>(); }

std::string Lower(std::string text) {
  for (auto &c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// "KERNEL32" and "kernel32.dll" name the same module.
std::string ModuleKey(const char *name) {
  std::string key = Lower(name);
  auto slash = key.find_last_of("\\/");
  if (slash != std::string::npos) key = key.substr(slash + 1);
  if (key.find('.') == std::string::npos) key += ".dll";
  return key;
}

const Module *FindModule(const std::string &key) {
  for (auto &module : kModules)
    if (key == module.name) return &module;
  return nullptr;
}

const Module *FindModule(HMODULE handle) {
  for (auto &module : kModules)
    if (reinterpret_cast<std::uintptr_t>(handle) == module.handle) return &module;
  return nullptr;
}

HMODULE Load(const char *fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string key = ModuleKey(fileName);
  auto forced = Modules().loadResults.find(key);
  if (forced != Modules().loadResults.end()) return reinterpret_cast<HMODULE>(forced->second);
  const Module *module = FindModule(key);
  if (!module) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++Modules().loadReferences[module->handle];
  return reinterpret_cast<HMODULE>(module->handle);
}

}  // namespace
}  // namespace detail

void RemoveExport(const std::string &module, const std::string &function) {
  detail::Modules().removedExports.insert(detail::ModuleKey(module.c_str()) + "!" + function);
}

void SetLoadLibraryResult(const std::string &module, std::uintptr_t handle) {
  detail::Modules().loadResults[detail::ModuleKey(module.c_str())] = handle;
}

int LoadedLibraryReferences() {
  int total = 0;
  for (auto &entry : detail::Modules().loadReferences) total += entry.second;
  return total;
}

}  // namespace winsim

using namespace winsim::detail;

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
  Record("LoadLibraryA", fileName ? fileName : "");
  return Load(fileName);
}

HMODULE WINAPI LoadLibraryExA(LPCSTR fileName, HANDLE, DWORD flags) {
  Record("LoadLibraryExA", std::string(fileName ? fileName : "") + "|" + std::to_string(flags));
  return Load(fileName);
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
  Record("FreeLibrary");
  auto &references = Modules().loadReferences;
  auto found = references.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == references.end() || found->second == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  --found->second;
  return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  Record("GetModuleHandleA", moduleName ? moduleName : "");
  if (!moduleName) return reinterpret_cast<HMODULE>(kProgramModule);
  const Module *module = FindModule(ModuleKey(moduleName));
  if (!module || (!module->loadedAtStart && Modules().loadReferences[module->handle] == 0)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(module->handle);
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName) {
  Record("GetProcAddress", procName ? procName : "");
  const Module *module = FindModule(handle);
  if (!module) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (procName && !Modules().removedExports.count(std::string(module->name) + "!" + procName)) {
    for (auto &entry : ExportTable())
      if (std::strcmp(entry.module, module->name) == 0 && std::strcmp(entry.name, procName) == 0)
        return entry.address;
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  if (module && reinterpret_cast<std::uintptr_t>(module) != kProgramModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::string &path = Os().programPath;
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // As on XP and later: a short buffer gets a truncated, terminated name.
  DWORD copied = static_cast<DWORD>(path.size() < size ? path.size() : size - 1);
  std::memcpy(fileName, path.data(), copied);
  fileName[copied] = '\0';
  if (copied < path.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  return copied;
}
