// The restore from whatever a layout's key holds: any names, types, sizes and
// data, by both methods. An icon moves only to a position a well-formed value
// of its own name gives, and nothing is left open or locked.
#include <set>
#include <vector>

#include "deskplan/app/program_state.h"
#include "deskplan/layout/icon_position.h"
#include "deskplan/layout/layout_command.h"
#include "deskplan/view/virtalloc.h"
#include "fuzz_check.h"
#include "winsim/desktop.h"
#include "winsim/machine.h"
#include "winsim/processes.h"
#include "winsim/registry.h"
#include "winsim/ui.h"

namespace {

const char kLayoutPath[] = "Software\\Ostrafen\\Deskplan\\1024x768";

struct Position {
  int x;
  int y;
  bool operator<(const Position &other) const { return x < other.x || (x == other.x && y < other.y); }
};

// Where a value would send an icon, by the method's format; false when the
// value is not a position of that format.
bool PositionOf(const winsim::RegistryValue &value, bool legacy, Position &position) {
  if (legacy) {
    if (value.type != REG_DWORD || value.data.size() != 4) return false;
    DWORD packed = value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<DWORD>(value.data[3]) << 24;
    if (packed == 0xFFFFFFFFu) return false;
    position = {static_cast<short>(PackedIconPosition::UnpackX(packed)),
                static_cast<short>(PackedIconPosition::UnpackY(packed))};
    return true;
  }
  if (value.type != REG_BINARY || value.data.size() != 8) return false;
  IconPosition stored = IconPosition::FromBytes(value.data.data());
  if (stored.IsUnknown()) return false;
  // The view keeps the low 16 bits of each coordinate.
  position = {static_cast<short>(stored.x & 0xFFFF), static_cast<short>(stored.y & 0xFFFF)};
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  winsim::Reset();
  ResetProgramState();
  ResetRemoteMemoryFunctions();
  desktopHostClass = "WorkerW";
  winsim::SetScreen(1024, 768);
  const bool legacy = input.Byte() & 1;
  winsim::ShellDesktopSetup setup;
  if (legacy) {
    winsim::SetOsVersion(winsim::Windows98SE());
    winsim::RemoveExport("kernel32.dll", "VirtualAllocEx");
    winsim::RemoveExport("kernel32.dll", "VirtualFreeEx");
    AppOptions.legacyMode = true;
    setup.shellKind = winsim::ProcessKind::Native32;
  } else if (!LoadRemoteMemoryFunctions()) {
    return 0;
  }
  AppOptions.quiet = true;

  // Values: a name (up to 63 bytes), a type, a size and its data. Every name
  // is also an icon's caption, so the restore looks each one up.
  std::vector<std::pair<std::string, winsim::RegistryValue>> values;
  for (int index = 0; index < 24 && !input.Empty(); ++index) {
    std::string name = input.Bytes(input.Byte() & 63).c_str();  // names end at a zero byte
    winsim::RegistryValue value;
    value.type = input.Byte() % 12;
    std::string bytes = input.Bytes(input.Byte() & 15);
    value.data.assign(bytes.begin(), bytes.end());
    winsim::SetRegistryValue(HKEY_CURRENT_USER, kLayoutPath, name, value.type, value.data);
    values.push_back({name, value});
    setup.icons.push_back({name.c_str(), 7 * index, 5 * index});
  }
  if (setup.icons.empty()) return 0;
  winsim::ShellDesktop desktop = winsim::BuildShellDesktop(setup);
  const std::vector<winsim::DesktopIcon> before = winsim::ListViewIcons(desktop.listView);
  winsim::RunProgram([] {
    RunLayoutCommand(kRestoreLayout);
    return 0;
  });

  // Every position any value could give; an icon that moved went to one of them.
  std::set<Position> allowed;
  for (const auto &entry : values) {
    auto stored = winsim::ReadRegistryValue(HKEY_CURRENT_USER, kLayoutPath, entry.first);
    Position position;
    if (stored && PositionOf(*stored, legacy, position)) allowed.insert(position);
  }
  const std::vector<winsim::DesktopIcon> after = winsim::ListViewIcons(desktop.listView);
  FUZZ_CHECK(after.size() == before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    FUZZ_CHECK(after[i].caption == before[i].caption);
    if (after[i].x != before[i].x || after[i].y != before[i].y)
      FUZZ_CHECK(allowed.count({after[i].x, after[i].y}) == 1);
  }
  FUZZ_CHECK(winsim::OpenHandleCount() == 0);
  FUZZ_CHECK(winsim::OpenRegistryHandleCount() == 0);
  FUZZ_CHECK(winsim::LiveRemoteAllocations() == 0);
  FUZZ_CHECK(winsim::LiveVirtualAllocations() == 0);
  FUZZ_CHECK(winsim::LiveMappedViews() == 0);
  FUZZ_CHECK(winsim::LockedWindow() == nullptr);
  FUZZ_CHECK(winsim::ListViewPaintState(desktop.listView).redraw);
  FUZZ_CHECK(winsim::StrayAccesses().empty());
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
