// A win64 test driver (not a product): reads and moves the desktop icons of
// whatever shell runs, with Deskplan's own view code, and reports on stdout.
//   viewdriver read              -> "item I X Y CAPTION"..., "end N", "timing read US N"
//   viewdriver move I X Y        -> "moved I", "timing move US 1"
//   viewdriver shift DX DY       -> every icon moved by (DX, DY): "end N", "timing move US N"
// Exit codes: 0 done, 1 bad arguments, 2 no desktop list view, 3 channel not
// open, 4 operating-system error (its text on stdout).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../protocol/caption_escape.h"
#include "common/os_error.h"
#include "deskplan/app/enciphered_constants.h"
#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"
#include "deskplan/view/remote_item_channel.h"
#include "deskplan/view/virtalloc.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Icon {
  int index;
  long x;
  long y;
  std::string caption;
};

long long MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

std::vector<Icon> ReadIcons(RemoteItemChannel &channel, HWND view) {
  std::vector<Icon> icons;
  const int count = ReadItemCount(view);
  for (int first = 0; first < count; first += kItemBatchSize) {
    std::vector<RemoteItem> items = channel.ReadItems(first, count - first, ItemQuery::CaptionAndPosition);
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
      if (!items[slot].readable) continue;
      const POINT at = items[slot].position;
      icons.push_back({first + static_cast<int>(slot), static_cast<long>(at.x), static_cast<long>(at.y),
                       items[slot].caption});
    }
  }
  return icons;
}

int Read(RemoteItemChannel &channel, HWND view) {
  Clock::time_point start = Clock::now();
  std::vector<Icon> icons = ReadIcons(channel, view);
  long long elapsed = MicrosecondsSince(start);
  for (const Icon &icon : icons)
    std::printf("item %d %ld %ld %s\n", icon.index, icon.x, icon.y, e2e::EscapeCaption(icon.caption).c_str());
  std::printf("end %d\ntiming read %lld %d\n", static_cast<int>(icons.size()), elapsed,
              static_cast<int>(icons.size()));
  return 0;
}

int Move(RemoteItemChannel &channel, int index, int x, int y) {
  Clock::time_point start = Clock::now();
  channel.SetItemPosition(index, x, y);
  std::printf("moved %d\ntiming move %lld 1\n", index, MicrosecondsSince(start));
  return 0;
}

int Shift(RemoteItemChannel &channel, HWND view, int dx, int dy) {
  std::vector<Icon> icons = ReadIcons(channel, view);
  Clock::time_point start = Clock::now();
  for (const Icon &icon : icons)
    channel.SetItemPosition(icon.index, static_cast<int>(icon.x) + dx, static_cast<int>(icon.y) + dy);
  long long elapsed = MicrosecondsSince(start);
  std::printf("end %d\ntiming move %lld %d\n", static_cast<int>(icons.size()), elapsed,
              static_cast<int>(icons.size()));
  return 0;
}

int Run(const std::vector<std::string> &args) {
  if (args.empty()) return 1;
  desktopHostClass = DecipherString(DesktopHostClassConstant);
  if (!LoadRemoteMemoryFunctions()) return 1;
  HWND view = FindDesktopListView();
  if (!view) return 2;
  RemoteItemChannel channel(view);
  if (!channel.IsOpen()) return 3;
  if (args[0] == "read" && args.size() == 1) return Read(channel, view);
  if (args[0] == "move" && args.size() == 4)
    return Move(channel, std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), std::atoi(args[3].c_str()));
  if (args[0] == "shift" && args.size() == 3)
    return Shift(channel, view, std::atoi(args[1].c_str()), std::atoi(args[2].c_str()));
  return 1;
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int code = 0;
  try {
    code = Run(args);
  } catch (const OsError &error) {
    std::printf("error %s\n", error.what());
    code = 4;
  }
  std::fflush(stdout);
  return code;
}
