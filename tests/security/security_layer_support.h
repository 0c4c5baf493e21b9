// Helpers for the tests of accounts, ACLs and security objects.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "security/account.h"
#include "security/acl.h"
#include "security/security_object.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/security.h"
#include "winsim/trace.h"

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }

  static WideString Wide(const std::string &text) { return WidenText(text); }

  // The account of a SID text, as the layer sees it.
  static IPtr<IAccount> Account(const std::string &sid) {
    auto bytes = winsim::SidBytesOf(sid);
    return AccountBySid(bytes.data());
  }

  // type/flags/mask/SID of every entry of an ACL object, through its interface.
  static std::vector<winsim::SecurityAce> Entries(IAcl &acl) {
    std::vector<winsim::SecurityAce> entries;
    for (std::int32_t i = 0; i < acl.Count(); ++i) {
      IPtr<IAce> ace = acl.AceItems(i);
      entries.push_back({ace->AceType(), ace->AceFlags(), ace->Access(), ace->Account()->SidString()});
    }
    return entries;
  }
};
