// shell32: special folders, item identifier lists (declared with the
// namespace interfaces in <shobjidl.h>), the shell's allocator, and
// telling the shell that something it shows has changed.
#pragma once

#include <objbase.h>
#include <shobjidl.h>
#include <windows.h>

#ifndef E_INVALIDARG
#define E_INVALIDARG ((HRESULT)0x80070057L)
#endif
#ifndef E_OUTOFMEMORY
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#endif

#define STDMETHODCALLTYPE

#define CSIDL_DESKTOP 0x0000
#define CSIDL_PERSONAL 0x0005


// The COM task allocator interface, in its method-table order.
struct IMalloc {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
  virtual void *STDMETHODCALLTYPE Alloc(SIZE_T size) = 0;
  virtual void *STDMETHODCALLTYPE Realloc(void *block, SIZE_T size) = 0;
  virtual void STDMETHODCALLTYPE Free(void *block) = 0;
  virtual SIZE_T STDMETHODCALLTYPE GetSize(void *block) = 0;
  virtual int STDMETHODCALLTYPE DidAlloc(void *block) = 0;
  virtual void STDMETHODCALLTYPE HeapMinimize() = 0;
};
typedef IMalloc *LPMALLOC;

// The shell's allocator, with a reference the caller releases.
HRESULT WINAPI SHGetMalloc(LPMALLOC *allocator);
// An identifier list the caller frees with the shell's allocator.
HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE *list);
// Fills `path` (MAX_PATH characters) with the file-system path of the list.
BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path);

#define SHCNE_ASSOCCHANGED 0x08000000L
#define SHCNF_IDLIST 0x0000
#define SHCNF_PATHA 0x0001
#define SHCNF_FLUSH 0x1000

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2);
