// Hostile modes of the test desktop: its list view misbehaves towards the
// item queries that another process sends it (its own calls pass untouched):
//   end after K      the process ends (TerminateProcess, exit code
//                    kHostileExitCode) at the first item message after it has
//                    answered the K-th query of one kind: item text
//                    (LVM_GETITEMA/W, LVM_GETITEMTEXTA/W), item position
//                    (LVM_GETITEMPOSITION) or move (LVM_SETITEMPOSITION,
//                    LVM_SETITEMPOSITION32);
//   end right after K  the same, but at once after answering the K-th query
//                    (ReplyMessage, then TerminateProcess): the sender gets
//                    its answer and races the process's end to its next step;
//   unterminated     item text fills the caller's whole buffer (the caption,
//                    then padding) with no terminating zero;
//   extra N          LVM_GETITEMCOUNT reports N items more than the view has;
//   zero after K     once K item queries (text, position or move) are
//                    answered, the view answers as an empty one: count 0,
//                    every item query and move refused.
// Chosen by the command line (ParseHostileOption) or the control channel
// (hostile_commands.h).
#pragma once

#include <windows.h>

#include <string>

namespace testshell {

const UINT kHostileExitCode = 77;
const char kHostilePadding = '~';

enum class QueryKind { None, Text, Position, Move };

struct HostileSettings {
  QueryKind endAfterKind = QueryKind::None;
  int endAfter = 0;         // with endAfterKind: answered queries before the end
  bool endRightAfter = false;  // end on answering the endAfter-th, not at the next
  bool unterminated = false;
  int extraItems = 0;
  int zeroAfter = -1;       // -1: never
};

struct HostileCounters {
  long text = 0;      // item-text queries answered to other processes
  long position = 0;  // position queries answered
  long moves = 0;     // moves done
  long counts = 0;    // item counts reported
  long items() const { return text + position + moves; }
  bool emptied = false;  // the zero mode has begun
};

// Subclasses the list view (on top of any earlier subclass); false on failure.
bool ServeHostileModes(HWND listView);
// Replaces the settings and starts the counters again.
void SetHostileSettings(const HostileSettings& settings);
HostileSettings CurrentHostileSettings();
HostileCounters CurrentHostileCounters();

// Reads the option at argv[index] (and its values, advancing index) when it is
// one of: --end-after text|position|move K, --end-right-after
// text|position|move K, --unterminated-text,
// --extra-items N, --zero-after K. Answers false when it is none of them;
// sets error when it is one but malformed.
bool ParseHostileOption(int argc, char** argv, int& index, HostileSettings& settings, std::string& error);
bool ParseQueryKind(const std::string& text, QueryKind& kind);
const char* QueryKindName(QueryKind kind);

}  // namespace testshell
