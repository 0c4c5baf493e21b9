// Every Cleanslate test starts from a fresh machine (Windows 7, 64-bit
// program) and must leave no registry key or kernel handle open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cleanslate/key_access_repair.h"
#include "cleanslate/key_itself_repair.h"
#include "common/unique_any.h"
#include "winsim/machine.h"
#include "winsim/process_end.h"
#include "winsim/processes.h"
#include "winsim/registry.h"
#include "winsim/registry_links.h"
#include "winsim/session.h"
#include "winsim/trace.h"
#include "winsim/ui.h"

class ResetWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    winsim::SetProgramPath("C:\\Program Files\\Cleanslate\\Cleanslate.exe");
    winsim::SetCommandLine("\"C:\\Program Files\\Cleanslate\\Cleanslate.exe\"");
  }
  void TearDown() override {
    EXPECT_EQ(0, winsim::OpenRegistryHandleCount()) << "a registry key was left open";
    EXPECT_EQ(0, winsim::OpenHandleCount()) << "a kernel handle was left open";
    EXPECT_EQ(0, winsim::LiveLocalAllocations()) << "a LocalAlloc block was not freed";
  }

  static bool KeyExists(const std::string &path) { return winsim::RegistryKeyExists(HKEY_CURRENT_USER, path); }

  // Another program replaces the user's key by a link to `target` of the
  // machine just as the first access repair starts, whichever way it reaches
  // the key (by name or through a handle), or before any of `orBefore` first.
  static void SwapForALinkAtTheRepair(const std::string &path, const std::string &target,
                                      const std::vector<std::string> &orBefore = {}) {
    auto swapped = std::make_shared<bool>(false);
    auto swap = [swapped, path, target] {
      if (*swapped) return;
      *swapped = true;
      winsim::DeleteRegistryKey(HKEY_CURRENT_USER, path);
      winsim::CreateRegistryLink(HKEY_CURRENT_USER, path, HKEY_LOCAL_MACHINE, target);
    };
    winsim::BeforeNext("GetSecurityInfo", swap);
    winsim::BeforeNext("GetNamedSecurityInfoW", swap);
    for (auto &function : orBefore) winsim::BeforeNext(function, swap);
  }

  // The access repair of a key of the user, reached as the reset reaches it.
  static void RepairUserKey(const std::string &path) {
    UniqueRegKey checked;
    OpenKeyForRepair(kDefaultRegistryView, HKEY_CURRENT_USER, path, checked);
    if (checked) RepairKeyAccess(checked.Get());
  }

  // The details of the calls to one function, in order.
  static std::vector<std::string> Details(const std::string &function) {
    std::vector<std::string> details;
    for (auto &call : winsim::CallsTo(function)) details.push_back(call.detail);
    return details;
  }
};
