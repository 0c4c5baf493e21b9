// The shell's list of its windows (IShellWindows), as far as the programs use it.
#pragma once

#include <objbase.h>

enum ShellWindowTypeConstants { SWC_EXPLORER = 0x0, SWC_BROWSER = 0x1, SWC_3RDPARTY = 0x2, SWC_CALLBACK = 0x4, SWC_DESKTOP = 0x8 };
enum ShellWindowFindWindowOptions { SWFO_NEEDDISPATCH = 0x1, SWFO_INCLUDEPENDING = 0x2, SWFO_COOKIEPASSED = 0x4 };

struct IShellWindows : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT *location, VARIANT *locationRoot, int windowClass,
                                                 LONG *window, int options, IDispatch **dispatch) = 0;

 protected:
  ~IShellWindows() = default;
};

extern const CLSID CLSID_ShellWindows;
extern const IID IID_IShellWindows;
