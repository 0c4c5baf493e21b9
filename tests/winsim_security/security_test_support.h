// Helpers for the tests of the simulated machine's security.
#pragma once

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/security.h"

using GetNamedSecurityInfoWFn = DWORD(WINAPI *)(LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID *, PSID *, PACL *,
                                                PACL *, PSECURITY_DESCRIPTOR *);
using SetNamedSecurityInfoWFn = DWORD(WINAPI *)(LPWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);
using GetSecurityInfoFn = DWORD(WINAPI *)(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID *, PSID *, PACL *, PACL *,
                                          PSECURITY_DESCRIPTOR *);
using NetAccessGetInfoFn = unsigned(WINAPI *)(const char *, char *, short, char *, unsigned short, unsigned short *);
using NetAccessDelFn = unsigned(WINAPI *)(const char *, char *);
using NetAccessAddFn = unsigned(WINAPI *)(const char *, short, char *, unsigned short);

// The functions programs look up at run time, looked up the same way.
template <class Fn>
Fn Exported(const char *module, const char *name) {
  HMODULE handle = LoadLibraryA(module);
  Fn function = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
  FreeLibrary(handle);
  return function;
}

class SecurityTest : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }

  static std::basic_string<WCHAR> Wide(const std::string &text) { return std::basic_string<WCHAR>(text.begin(), text.end()); }

  // Owner and DACL of a key by name, as the program reads them; "" when refused.
  static DWORD ReadNamed(const std::string &name, SECURITY_INFORMATION what, std::string *owner,
                         std::vector<winsim::SecurityAce> *dacl) {
    PSID ownerSid = nullptr;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    auto get = Exported<GetNamedSecurityInfoWFn>("advapi32.dll", "GetNamedSecurityInfoW");
    DWORD result = get(Wide(name).c_str(), SE_REGISTRY_KEY, what, &ownerSid, nullptr, &list,
                                         nullptr, &descriptor);
    if (result != ERROR_SUCCESS) return result;
    if (owner) *owner = ownerSid ? winsim::SidTextOf(ownerSid) : "";
    if (dacl && list) {
      dacl->clear();
      for (DWORD i = 0; i < list->AceCount; ++i) {
        void *ace = nullptr;
        EXPECT_TRUE(GetAce(list, i, &ace));
        auto *allowed = static_cast<ACCESS_ALLOWED_ACE *>(ace);
        dacl->push_back({allowed->Header.AceType, allowed->Header.AceFlags, allowed->Mask,
                         winsim::SidTextOf(&allowed->SidStart)});
      }
    }
    LocalFree(descriptor);
    return result;
  }

  static DWORD WriteNamed(const std::string &name, SECURITY_INFORMATION what, PSID owner, PACL dacl) {
    auto set = Exported<SetNamedSecurityInfoWFn>("advapi32.dll", "SetNamedSecurityInfoW");
    auto wide = Wide(name);
    return set(&wide[0], SE_REGISTRY_KEY, what, owner, nullptr, dacl, nullptr);
  }

  // A binary ACL with these entries.
  static std::vector<BYTE> MakeAcl(const std::vector<winsim::SecurityAce> &aces) {
    std::vector<BYTE> acl(1024);
    EXPECT_TRUE(InitializeAcl(reinterpret_cast<PACL>(acl.data()), 1024, ACL_REVISION));
    for (auto &ace : aces) {
      auto sid = winsim::SidBytesOf(ace.sid);
      auto add = ace.type == ACCESS_DENIED_ACE_TYPE ? AddAccessDeniedAceEx : AddAccessAllowedAceEx;
      EXPECT_TRUE(add(reinterpret_cast<PACL>(acl.data()), ACL_REVISION, ace.flags, ace.mask, sid.data()));
    }
    return acl;
  }
};
