// The test shell's line channel: commands arrive on standard input (read on
// a thread of their own), replies leave on standard output, unbuffered.
#pragma once

#include <windows.h>

#include <string>

namespace testshell {

void WriteLine(const std::string& line);

// Starts the reader thread: each line (without its end) is sent to `target`
// with SendMessageA(target, message, 0, (LPARAM)&line); end of input posts
// WM_CLOSE to `target`. The thread ends with the input.
bool StartCommandReader(HWND target, UINT message);

}  // namespace testshell
