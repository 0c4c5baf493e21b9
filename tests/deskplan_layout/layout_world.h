// A machine with a shell desktop for the layout tests, and readers of what a
// save left in the registry.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deskplan/app/program_state.h"
#include "deskplan/layout/icon_position.h"
#include "deskplan/view/virtalloc.h"
#include "winsim/desktop.h"
#include "winsim/machine.h"
#include "winsim/processes.h"
#include "winsim/registry.h"
#include "winsim/ui.h"
#include "winsim/windows.h"

const char kLayoutPath[] = "Software\\Ostrafen\\Deskplan\\1024x768";
const std::string kSeparator = "\xA0____\xA0";

class LayoutWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    winsim::Reset();
    ResetProgramState();
    ResetRemoteMemoryFunctions();
    desktopHostClass = "WorkerW";
    winsim::SetScreen(1024, 768);
  }

  // Cross-process systems (2000 and later).
  winsim::ShellDesktop ModernDesktop(std::vector<winsim::DesktopIcon> icons, LONG style = LVS_ICON) {
    EXPECT_TRUE(LoadRemoteMemoryFunctions());
    winsim::ShellDesktopSetup setup;
    setup.icons = std::move(icons);
    setup.listViewStyle = style;
    return winsim::BuildShellDesktop(setup);
  }

  // The Windows 9x family: the shared-area method.
  winsim::ShellDesktop LegacyDesktop(std::vector<winsim::DesktopIcon> icons, LONG style = LVS_ICON) {
    winsim::SetOsVersion(winsim::Windows98SE());
    winsim::RemoveExport("kernel32.dll", "VirtualAllocEx");
    winsim::RemoveExport("kernel32.dll", "VirtualFreeEx");
    AppOptions.legacyMode = true;
    winsim::ShellDesktopSetup setup;
    setup.shellKind = winsim::ProcessKind::Native32;
    setup.icons = std::move(icons);
    setup.listViewStyle = style;
    return winsim::BuildShellDesktop(setup);
  }

  static void StoreIcon(const std::string &name, int x, int y, const char *path = kLayoutPath) {
    auto bytes = IconPosition{x, y}.ToBytes();
    winsim::SetRegistryValue(HKEY_CURRENT_USER, path, name, REG_BINARY, {bytes.begin(), bytes.end()});
  }

  static std::vector<std::string> StoredNames(const char *path = kLayoutPath) {
    return winsim::RegistryValueNames(HKEY_CURRENT_USER, path);
  }

  // The stored IconPosition of a value; fails the test for any other form.
  static IconPosition Stored(const std::string &name, const char *path = kLayoutPath) {
    auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, path, name);
    if (!value || value->type != REG_BINARY || value->data.size() != 8) {
      ADD_FAILURE() << "no IconPosition named " << name;
      return IconPosition{};
    }
    return IconPosition::FromBytes(value->data.data());
  }

  static std::vector<std::pair<int, int>> Positions(HWND listView) {
    std::vector<std::pair<int, int>> positions;
    for (auto &icon : winsim::ListViewIcons(listView)) positions.push_back({icon.x, icon.y});
    return positions;
  }

  static bool NothingHeld() {
    return winsim::OpenHandleCount() == 0 && winsim::LiveVirtualAllocations() == 0 &&
           winsim::LiveRemoteAllocations() == 0 && winsim::LiveMappedViews() == 0 &&
           winsim::OpenRegistryHandleCount() == 0 && winsim::LockedWindow() == nullptr;
  }
};
