// Named shared memory backed by the paging file: sections, their handles and
// the program's views of them.
#include "core/component.h"
#include "core/handles.h"
#include "core/trace.h"
#include "process/process_state.h"

using namespace winsim::detail;

namespace {

struct SectionObject : KernelObject {
  std::shared_ptr<SectionMemory> memory;
};

}  // namespace

HANDLE WINAPI CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                                 DWORD maximumSizeLow, LPCSTR name) {
  (void)attributes;
  Record("CreateFileMappingA", std::string(name ? name : "") + "|" + std::to_string(maximumSizeLow));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("CreateFileMappingA")) {
    SetLastError(fault);
    return nullptr;
  }
  // Only memory backed by the paging file is simulated.
  if (file != INVALID_HANDLE_VALUE || protect != PAGE_READWRITE || maximumSizeHigh != 0 || maximumSizeLow == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<SectionObject>();
  auto &named = Processes().namedSections;
  if (name) {
    auto existing = named.find(name);
    if (existing != named.end()) object->memory = existing->second.lock();
  }
  DWORD lastError = ERROR_SUCCESS;
  if (object->memory) {
    lastError = ERROR_ALREADY_EXISTS;
  } else {
    object->memory = std::make_shared<SectionMemory>(maximumSizeLow);
    if (name) named[name] = object->memory;
  }
  HANDLE handle = NewHandle(object);
  SetLastError(lastError);
  return handle;
}

LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                            SIZE_T bytesToMap) {
  Record("MapViewOfFile", std::to_string(desiredAccess));
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (unsigned fault = InjectedFault("MapViewOfFile")) {
    SetLastError(fault);
    return nullptr;
  }
  auto section = HandleObject<SectionObject>(mapping);
  if (!section) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (offsetHigh != 0 || offsetLow != 0 || bytesToMap > section->memory->size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Processes().views.push_back(MappedView{section->memory->bytes, section->memory});
  return section->memory->bytes;
}

BOOL WINAPI UnmapViewOfFile(LPCVOID baseAddress) {
  Record("UnmapViewOfFile");
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  auto &views = Processes().views;
  for (auto view = views.begin(); view != views.end(); ++view) {
    if (view->address == baseAddress) {
      views.erase(view);
      return TRUE;
    }
  }
  SetLastError(487);  // ERROR_INVALID_ADDRESS
  return FALSE;
}
