// The test shell's desktop: a host window ("Progman" titled "Program Manager",
// or "WorkerW"), its "SHELLDLL_DefView" child and a real comctl32
// "SysListView32" in icon mode holding the fixture's icons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../protocol/fixture_format.h"
#include "shell_options.h"

namespace testshell {

// A top-level or child window destroyed with its owner object.
class OwnedWindow {
 public:
  OwnedWindow() = default;
  explicit OwnedWindow(HWND window) : window_(window) {}
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  OwnedWindow(OwnedWindow&& other) noexcept : window_(other.window_) { other.window_ = nullptr; }
  OwnedWindow& operator=(OwnedWindow&& other) noexcept {
    if (this != &other) {
      Destroy();
      window_ = other.window_;
      other.window_ = nullptr;
    }
    return *this;
  }
  ~OwnedWindow() { Destroy(); }
  HWND get() const { return window_; }

 private:
  void Destroy() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
  }

  HWND window_ = nullptr;
};

struct ItemReport {
  std::string caption;  // Windows-1252 bytes
  POINT position;
};

class ShellDesktop {
 public:
  // Makes the window tree, the host still hidden; again after Destroy().
  bool Create(const ShellOptions& options, HINSTANCE instance, std::string& error);
  // Every window gone, as when the shell's process ends.
  void Destroy();
  bool Exists() const { return listView_.get() != nullptr; }
  // Appends icons[first, end) to the view.
  void AddIcons(const std::vector<e2e::FixtureIcon>& icons, std::size_t first, std::size_t end);
  void Show();
  // Items [first, end) go to their icons' positions.
  void PlaceIcons(const std::vector<e2e::FixtureIcon>& icons, std::size_t first, std::size_t end);

  int ItemCount() const;
  bool ReadItem(int index, ItemReport& item) const;
  bool MoveItem(int index, int x, int y) const;
  DWORD ListStyle() const;

  HWND Host() const { return host_.get(); }
  HWND ShellView() const { return shellView_.get(); }
  HWND ListView() const { return listView_.get(); }

 private:
  std::vector<OwnedWindow> decoys_;
  OwnedWindow emptyProgman_;
  OwnedWindow host_;
  OwnedWindow shellView_;
  OwnedWindow listView_;
};

}  // namespace testshell
