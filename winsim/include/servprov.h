// IServiceProvider: asking an object for a service by its identifier.
#pragma once

#include <objbase.h>

struct IServiceProvider : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void **object) = 0;

 protected:
  ~IServiceProvider() = default;
};

extern const IID IID_IServiceProvider;
