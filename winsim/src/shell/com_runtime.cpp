// ole32 in the simulated machine: the thread's apartment, CoCreateInstance of
// the one class the shell registers here, and task memory with bookkeeping.
#include <map>
#include <memory>

#include <objbase.h>

#include "core/component.h"
#include "core/trace.h"
#include "shell/com_state.h"
#include "winsim/folder_view.h"
#include <exdisp.h>

namespace winsim {
namespace detail {

ComState &Com() { return Component<ComState>(); }

}  // namespace detail

int LiveTaskMemoryBlocks() { return static_cast<int>(detail::Com().taskMemory.size()); }
int BadTaskMemoryFrees() { return detail::Com().badFrees; }
int ComApartmentDepth() { return detail::Com().apartmentDepth; }

}  // namespace winsim

using winsim::detail::Com;
using winsim::detail::InjectedFault;
using winsim::detail::Record;

HRESULT WINAPI CoInitialize(LPVOID) {
  std::lock_guard<std::recursive_mutex> lock(winsim::detail::MachineLock());
  Record("CoInitialize");
  if (unsigned fault = InjectedFault("CoInitialize")) return static_cast<HRESULT>(fault);
  return Com().apartmentDepth++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize() {
  std::lock_guard<std::recursive_mutex> lock(winsim::detail::MachineLock());
  Record("CoUninitialize");
  if (Com().apartmentDepth > 0) --Com().apartmentDepth;
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID riid, LPVOID *object) {
  std::lock_guard<std::recursive_mutex> lock(winsim::detail::MachineLock());
  Record("CoCreateInstance");
  if (!object) return E_POINTER;
  *object = nullptr;
  if (unsigned fault = InjectedFault("CoCreateInstance")) return static_cast<HRESULT>(fault);
  if (Com().apartmentDepth == 0) return CO_E_NOTINITIALIZED;
  if (outer) return E_INVALIDARG;
  IUnknown *shellWindows = winsim::detail::ShellWindowsObject();
  if (!IsEqualCLSID(clsid, CLSID_ShellWindows) || !shellWindows) return REGDB_E_CLASSNOTREG;
  return shellWindows->QueryInterface(riid, object);
}

LPVOID WINAPI CoTaskMemAlloc(SIZE_T size) {
  std::lock_guard<std::recursive_mutex> lock(winsim::detail::MachineLock());
  auto block = std::make_unique<unsigned char[]>(size ? size : 1);
  void *address = block.get();
  Com().taskMemory[address] = std::move(block);
  return address;
}

void WINAPI CoTaskMemFree(LPVOID memory) {
  std::lock_guard<std::recursive_mutex> lock(winsim::detail::MachineLock());
  if (!memory) return;
  if (Com().taskMemory.erase(memory) == 0) ++Com().badFrees;
}
