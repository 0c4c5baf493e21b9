#include "hostile_modes.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "shared_arena.h"

namespace testshell {
namespace {

const UINT_PTR kHostileSubclassId = 0x484F;  // "HO"

HostileSettings settings;
HostileCounters counters;

QueryKind KindOf(UINT message) {
  switch (message) {
    case LVM_GETITEMA:
    case LVM_GETITEMW:
    case LVM_GETITEMTEXTA:
    case LVM_GETITEMTEXTW:
      return QueryKind::Text;
    case LVM_GETITEMPOSITION:
      return QueryKind::Position;
    case LVM_SETITEMPOSITION:
    case LVM_SETITEMPOSITION32:
      return QueryKind::Move;
    default:
      return QueryKind::None;
  }
}

long Answered(QueryKind kind) {
  switch (kind) {
    case QueryKind::Text:
      return counters.text;
    case QueryKind::Position:
      return counters.position;
    case QueryKind::Move:
      return counters.moves;
    default:
      return 0;
  }
}

void CountAnswer(QueryKind kind) {
  if (kind == QueryKind::Text) ++counters.text;
  if (kind == QueryKind::Position) ++counters.position;
  if (kind == QueryKind::Move) ++counters.moves;
}

// Fills the rest of an ANSI text buffer after the text the list view wrote,
// terminator included, so that no zero is left in it.
void FillWholeBuffer(LPARAM record) {
  auto* item = reinterpret_cast<LVITEMA*>(record);
  if (item == nullptr || item->pszText == nullptr || item->cchTextMax <= 0) return;
  const std::size_t room = static_cast<std::size_t>(item->cchTextMax);
  const std::size_t length = strnlen(item->pszText, room);
  std::memset(item->pszText + length, kHostilePadding, room - length);
}

// The answers of a view that has no items.
LRESULT EmptyViewAnswer(UINT message) {
  if (message == LVM_GETITEMCOUNT) ++counters.counts;
  return 0;
}

LRESULT CALLBACK HostileListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const QueryKind kind = KindOf(message);
  const bool itemMessage = kind != QueryKind::None || message == LVM_GETITEMCOUNT;
  // Only what other processes send is answered with hostility.
  if (!itemMessage || !InSendMessage() || InOwnListCall()) return DefSubclassProc(window, message, wParam, lParam);

  if (settings.endAfterKind != QueryKind::None && !settings.endRightAfter &&
      Answered(settings.endAfterKind) >= settings.endAfter) {
    TerminateProcess(GetCurrentProcess(), kHostileExitCode);
  }
  if (settings.zeroAfter >= 0 && counters.items() >= settings.zeroAfter) counters.emptied = true;
  if (counters.emptied) return EmptyViewAnswer(message);

  LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == LVM_GETITEMCOUNT) {
    ++counters.counts;
    return result + settings.extraItems;
  }
  if (settings.unterminated && message == LVM_GETITEMA && result != 0 &&
      (reinterpret_cast<LVITEMA*>(lParam)->mask & LVIF_TEXT) != 0) {
    FillWholeBuffer(lParam);
  }
  if (settings.unterminated && message == LVM_GETITEMTEXTA) {
    FillWholeBuffer(lParam);
    result = reinterpret_cast<LVITEMA*>(lParam)->cchTextMax;
  }
  CountAnswer(kind);
  if (settings.endRightAfter && kind == settings.endAfterKind && Answered(kind) == settings.endAfter) {
    ReplyMessage(result);
    TerminateProcess(GetCurrentProcess(), kHostileExitCode);
  }
  return result;
}

bool ParseNumber(const char* text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || parsed < 0 || parsed > 1000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

bool ServeHostileModes(HWND listView) {
  return SetWindowSubclass(listView, HostileListProc, kHostileSubclassId, 0) != FALSE;
}

void SetHostileSettings(const HostileSettings& newSettings) {
  settings = newSettings;
  counters = HostileCounters();
}

HostileSettings CurrentHostileSettings() { return settings; }

HostileCounters CurrentHostileCounters() { return counters; }

bool ParseQueryKind(const std::string& text, QueryKind& kind) {
  if (text == "text") {
    kind = QueryKind::Text;
  } else if (text == "position") {
    kind = QueryKind::Position;
  } else if (text == "move") {
    kind = QueryKind::Move;
  } else {
    return false;
  }
  return true;
}

const char* QueryKindName(QueryKind kind) {
  switch (kind) {
    case QueryKind::Text:
      return "text";
    case QueryKind::Position:
      return "position";
    case QueryKind::Move:
      return "move";
    default:
      return "none";
  }
}

bool ParseHostileOption(int argc, char** argv, int& index, HostileSettings& hostile, std::string& error) {
  const std::string name = argv[index];
  const bool hasValue = index + 1 < argc;
  if (name == "--end-after" || name == "--end-right-after") {
    hostile.endRightAfter = name == "--end-right-after";
    if (index + 2 >= argc || !ParseQueryKind(argv[index + 1], hostile.endAfterKind) ||
        !ParseNumber(argv[index + 2], hostile.endAfter)) {
      error = "bad " + name + ": text|position|move K";
    }
    index += 2;
    return true;
  }
  if (name == "--unterminated-text") {
    hostile.unterminated = true;
    return true;
  }
  if (name == "--extra-items" || name == "--zero-after") {
    int value = 0;
    if (!hasValue || !ParseNumber(argv[index + 1], value)) {
      error = "bad " + name + " count";
    } else if (name == "--extra-items") {
      hostile.extraItems = value;
    } else {
      hostile.zeroAfter = value;
    }
    ++index;
    return true;
  }
  return false;
}

}  // namespace testshell
