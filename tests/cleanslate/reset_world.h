// Every Cleanslate test starts from a fresh machine (Windows 7, 64-bit
// program) and must leave no registry key or kernel handle open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

  // The details of the calls to one function, in order.
  static std::vector<std::string> Details(const std::string &function) {
    std::vector<std::string> details;
    for (auto &call : winsim::CallsTo(function)) details.push_back(call.detail);
    return details;
  }
};
