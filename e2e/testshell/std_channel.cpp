#include "std_channel.h"

namespace testshell {
namespace {

struct ReaderContext {
  HWND target;
  UINT message;
};

ReaderContext readerContext;

DWORD WINAPI ReadCommands(LPVOID) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    pending.append(chunk, got);
    std::string::size_type end;
    while ((end = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      SendMessageA(readerContext.target, readerContext.message, 0, reinterpret_cast<LPARAM>(&line));
    }
  }
  PostMessageA(readerContext.target, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

void WriteLine(const std::string& line) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  FlushFileBuffers(output);
}

bool StartCommandReader(HWND target, UINT message) {
  readerContext = ReaderContext{target, message};
  const HANDLE thread = CreateThread(nullptr, 0, ReadCommands, nullptr, 0, nullptr);
  if (thread == nullptr) return false;
  CloseHandle(thread);  // the thread runs detached until the input ends
  return true;
}

}  // namespace testshell
