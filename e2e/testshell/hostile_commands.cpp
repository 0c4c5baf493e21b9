#include "hostile_commands.h"

#include <windows.h>

#include <cstdlib>

#include "../protocol/caption_escape.h"
#include "hostile_modes.h"

namespace testshell {
namespace {

const char kApplicationErrorCaption[] = "Erreur d'application";

bool ToCount(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || parsed < 0 || parsed > 1000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

std::string StatusLine() {
  const HostileSettings settings = CurrentHostileSettings();
  const HostileCounters counters = CurrentHostileCounters();
  return std::string("hostile end-after ") + QueryKindName(settings.endAfterKind) + " " +
         std::to_string(settings.endAfter) + " right " + (settings.endRightAfter ? "1" : "0") + " unterminated " + (settings.unterminated ? "1" : "0") + " extra " +
         std::to_string(settings.extraItems) + " zero-after " + std::to_string(settings.zeroAfter) + " text " +
         std::to_string(counters.text) + " position " + std::to_string(counters.position) + " moves " +
         std::to_string(counters.moves) + " counts " + std::to_string(counters.counts) + " emptied " +
         (counters.emptied ? "1" : "0");
}

// Adds the mode the words name to the current ones; false when malformed.
bool AddMode(const std::vector<std::string>& words, HostileSettings& settings) {
  const std::string& mode = words[1];
  if (mode == "off" && words.size() == 2) {
    settings = HostileSettings();
    return true;
  }
  if (mode == "unterminated" && words.size() == 2) {
    settings.unterminated = true;
    return true;
  }
  if ((mode == "end-after" || mode == "end-right-after") && words.size() == 4) {
    settings.endRightAfter = mode == "end-right-after";
    return ParseQueryKind(words[2], settings.endAfterKind) && ToCount(words[3], settings.endAfter);
  }
  if (mode == "extra" && words.size() == 3) return ToCount(words[2], settings.extraItems);
  if (mode == "zero-after" && words.size() == 3) return ToCount(words[2], settings.zeroAfter);
  return false;
}

HWND FindApplicationErrorBox() { return FindWindowA("#32770", kApplicationErrorCaption); }

}  // namespace

bool RunHostileCommand(const std::vector<std::string>& words, std::string& reply) {
  if (words[0] == "hostile") {
    if (words.size() == 1) {
      reply = StatusLine();
      return true;
    }
    HostileSettings settings = CurrentHostileSettings();
    if (!AddMode(words, settings)) {
      reply = "error bad-hostile-mode";
      return true;
    }
    SetHostileSettings(settings);
    reply = "ok";
    return true;
  }
  if (words[0] == "appbox" && words.size() == 1) {
    const HWND box = FindApplicationErrorBox();
    if (box == nullptr) {
      reply = "error no-box";
      return true;
    }
    // A message box's text is the static control with the id 0xFFFF.
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    reply = "box " + e2e::EscapeCaption(text);
    return true;
  }
  int button = 0;
  if (words[0] == "appanswer" && words.size() == 2 && ToCount(words[1], button)) {
    const HWND box = FindApplicationErrorBox();
    reply = box != nullptr && PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0) ? "ok"
                                                                                                : "error no-box";
    return true;
  }
  return false;
}

}  // namespace testshell
