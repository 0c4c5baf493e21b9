// Shell namespace interfaces: item identifier lists, folders, their views and
// the browser that hosts a view, as far as the programs use them.
#pragma once

#include <objbase.h>
#include <servprov.h>

typedef struct _SHITEMID {
  USHORT cb;
  BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
  SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST *LPCITEMIDLIST;
typedef ITEMIDLIST *PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST *PCIDLIST_ABSOLUTE;
typedef ITEMIDLIST ITEMID_CHILD;
typedef ITEMID_CHILD *PITEMID_CHILD;
typedef const ITEMID_CHILD *PCUITEMID_CHILD;
typedef const PCUITEMID_CHILD *PCUITEMID_CHILD_ARRAY;

#define STRRET_WSTR 0x0
#define STRRET_OFFSET 0x1
#define STRRET_CSTR 0x2
typedef struct _STRRET {
  UINT uType;
  union {
    LPWSTR pOleStr;
    UINT uOffset;
    char cStr[260];
  };
} STRRET;

enum _SHGDNF { SHGDN_NORMAL = 0x0, SHGDN_INFOLDER = 0x1, SHGDN_FORPARSING = 0x8000 };
typedef DWORD SHGDNF;

enum _SVSIF { SVSI_DESELECT = 0x0, SVSI_SELECT = 0x1, SVSI_POSITIONITEM = 0x80 };
enum _SVGIO { SVGIO_BACKGROUND = 0x0, SVGIO_SELECTION = 0x1, SVGIO_ALLVIEW = 0x2, SVGIO_FLAG_VIEWORDER = (int)0x80000000 };

struct IEnumIDList : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD *items, ULONG *fetched) = 0;

 protected:
  ~IEnumIDList() = default;
};

struct IShellFolder : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET *name) = 0;

 protected:
  ~IShellFolder() = default;
};

struct IShellView : IUnknown {
 protected:
  ~IShellView() = default;
};

struct IShellBrowser : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView **view) = 0;

 protected:
  ~IShellBrowser() = default;
};

struct IFolderView : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetFolder(REFIID riid, void **folder) = 0;
  virtual HRESULT STDMETHODCALLTYPE Items(UINT flags, REFIID riid, void **items) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY items, POINT *points,
                                                           DWORD flags) = 0;

 protected:
  ~IFolderView() = default;
};

extern const IID IID_IEnumIDList;
extern const IID IID_IShellFolder;
extern const IID IID_IShellView;
extern const IID IID_IShellBrowser;
extern const IID IID_IFolderView;
