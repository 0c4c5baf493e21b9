#include "shell_commands.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "../protocol/caption_escape.h"
#include "desktop_arrival.h"
#include "hostile_commands.h"
#include "own_relayout.h"
#include "paint_counter.h"
#include "shared_arena.h"
#include "tray_commands.h"

namespace testshell {
namespace {

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream stream(line);
  std::string word;
  while (stream >> word) words.push_back(word);
  return words;
}

bool ToInt(const std::string& text, int& value) {
  try {
    std::size_t used = 0;
    value = std::stoi(text, &used);
    return used == text.size();
  } catch (const std::exception&) {
    return false;
  }
}

std::string ItemLine(const ShellDesktop& desktop, int index) {
  ItemReport item;
  if (!desktop.ReadItem(index, item)) return "error no-item";
  return "item " + std::to_string(index) + " " + std::to_string(item.position.x) + " " +
         std::to_string(item.position.y) + " " + e2e::EscapeCaption(item.caption);
}

std::string Hex(unsigned long long value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
  return text;
}

std::string WindowHex(HWND window) {
  return Hex(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), 1);
}

// Deskplan's message boxes have no owner and its name as caption.
HWND FindDeskplanBox() { return FindWindowA("#32770", "Deskplan"); }

std::string BoxLine() {
  const HWND box = FindDeskplanBox();
  if (box == nullptr) return "error no-box";
  // A message box's text is the static control with the id 0xFFFF.
  char text[1024] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return "box " + e2e::EscapeCaption(text);
}

// Moves every icon by (dx, dy) with the view's redraw off, then repaints once:
// a quick scramble even of large desktops. Answers the number of icons moved.
int ShiftItems(const ShellDesktop& desktop, int dx, int dy) {
  const HWND list = desktop.ListView();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  int moved = 0;
  const int count = desktop.ItemCount();
  for (int i = 0; i < count; ++i) {
    ItemReport item;
    if (desktop.ReadItem(i, item) && desktop.MoveItem(i, item.position.x + dx, item.position.y + dy)) ++moved;
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return moved;
}

// The commands that speak to the list view or name its windows.
bool NeedsDesktop(const std::string& name) {
  for (const char* command : {"count", "items", "item", "move", "shift", "style", "windows", "editlabel"})
    if (name == command) return true;
  return false;
}

}  // namespace

std::string RunCommand(const ShellDesktop& desktop, const std::string& line, bool& quit) {
  const std::vector<std::string> words = SplitWords(line);
  if (words.empty()) return "error empty-command";
  const std::string& name = words[0];
  if (NeedsDesktop(name) && !desktop.Exists()) return "error no-desktop";
  int index = 0;
  if (name == "count" && words.size() == 1) {
    return "count " + std::to_string(desktop.ItemCount());
  }
  if (name == "items" && words.size() == 1) {
    std::string reply;
    const int count = desktop.ItemCount();
    for (int i = 0; i < count; ++i) reply += ItemLine(desktop, i) + "\n";
    return reply + "end";
  }
  if (name == "item" && words.size() == 2 && ToInt(words[1], index)) {
    return ItemLine(desktop, index);
  }
  int x = 0;
  int y = 0;
  if (name == "move" && words.size() == 4 && ToInt(words[1], index) && ToInt(words[2], x) && ToInt(words[3], y)) {
    if (index < 0 || index >= desktop.ItemCount()) return "error no-item";
    desktop.MoveItem(index, x, y);
    return "ok";
  }
  if (name == "shift" && words.size() == 3 && ToInt(words[1], x) && ToInt(words[2], y)) {
    return "shifted " + std::to_string(ShiftItems(desktop, x, y));
  }
  if (name == "style" && words.size() == 1) {
    return "style " + Hex(desktop.ListStyle(), 8);
  }
  if (name == "windows" && words.size() == 1) {
    return "windows host=" + WindowHex(desktop.Host()) + " view=" + WindowHex(desktop.ShellView()) +
           " list=" + WindowHex(desktop.ListView());
  }
  if (name == "pid" && words.size() == 1) {
    return "pid " + std::to_string(static_cast<unsigned long>(GetCurrentProcessId()));
  }
  if (name == "screen" && words.size() == 1) {
    return "screen " + std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + " " +
           std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN));
  }
  if (name == "box" && words.size() == 1) return BoxLine();
  int button = 0;
  if (name == "answer" && words.size() == 2 && ToInt(words[1], button)) {
    const HWND box = FindDeskplanBox();
    if (box == nullptr) return "error no-box";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return "ok";
  }
  if ((name == "tray" || name == "closetray") && words.size() == 1) {
    const HWND tray = FindWindowA("Deskplan", nullptr);
    if (tray == nullptr) return "error no-tray";
    if (name == "tray") return "tray " + WindowHex(tray);
    PostMessageA(tray, WM_CLOSE, 0, 0);
    return "ok";
  }
  if (name == "arena" && words.size() == 1) {
    const ArenaCounters counters = SharedArenaCounters();
    return "arena served=" + std::to_string(counters.served) + " passed=" + std::to_string(counters.passed);
  }
  if (name == "paints" && words.size() == 1) {
    const PaintCounts paints = ListPaintCounts();
    return "paints " + std::to_string(paints.paints) + " redraw " + (paints.redraw ? "1" : "0");
  }
  if (name == "messages" && words.size() == 1) return "messages " + std::to_string(ListPaintCounts().listMessages);
  if (name == "quit" && words.size() == 1) {
    quit = true;
    return "bye";
  }
  std::string trayReply;
  if (RunTrayCommand(desktop, words, trayReply)) return trayReply;
  std::string hostileReply;
  if (RunHostileCommand(words, hostileReply)) return hostileReply;
  std::string arrivalReply;
  if (RunArrivalCommand(words, arrivalReply)) return arrivalReply;
  std::string relayoutReply;
  if (RunRelayoutCommand(words, relayoutReply)) return relayoutReply;
  return "error unknown-command";
}

}  // namespace testshell
