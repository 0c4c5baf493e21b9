// Interface identifiers of the security layer. They are fixed for the program:
// every interface shares one randomly drawn base and is told apart by its last
// byte, numbered in the order the interfaces were introduced (never reused).
// IInterface answers to the system's IUnknown identifier.
#pragma once

#include <windows.h>

constexpr GUID LayerIid(unsigned char number) {
  return GUID{0x5C1E5A7Eu, 0x2B4D, 0x4F61, {0x9A, 0x37, 0xC0, 0x8E, 0x51, 0xD2, 0x7B, number}};
}

constexpr GUID IID_IInterfaceOfLayer = {0x00000000u, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IBasic = LayerIid(0x01);
constexpr GUID IID_IList = LayerIid(0x02);
constexpr GUID IID_ICustomBasicList = LayerIid(0x03);
constexpr GUID IID_ICriticalSection = LayerIid(0x04);
constexpr GUID IID_IAccount = LayerIid(0x05);
constexpr GUID IID_IAce = LayerIid(0x06);
constexpr GUID IID_IObjectAce = LayerIid(0x07);
constexpr GUID IID_IAcl = LayerIid(0x08);
constexpr GUID IID_ISecurityObject = LayerIid(0x09);

inline bool SameIid(const GUID &a, const GUID &b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
