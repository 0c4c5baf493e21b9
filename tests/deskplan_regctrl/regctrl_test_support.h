// Every RegCtrl test starts from an empty registry and must leave no key open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deskplan/app/reg_ctrl.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/trace.h"

class RegCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  void TearDown() override { EXPECT_EQ(0, winsim::OpenRegistryHandleCount()) << "a registry key was left open"; }

  static std::vector<BYTE> Bytes(const std::string &text) { return std::vector<BYTE>(text.begin(), text.end()); }
  static winsim::RegistryValue Stored(const std::string &path, const std::string &name) {
    auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, path, name);
    EXPECT_TRUE(value.has_value()) << path << " " << name;
    return value.value_or(winsim::RegistryValue{});
  }
};

const char kProduct[] = "Software\\Ostrafen\\Deskplan";
const char kOptions[] = "Software\\Ostrafen\\Deskplan\\Options";
