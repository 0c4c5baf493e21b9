// The bitness probe of the Wine tiers (a test program, not a product): proves
// that Wine really runs a program of this build. A Wine that cannot run it may
// still answer exit code 0 (wine64 without its 32-bit half does), so the
// probe's proof is its effects: it writes "probe <bits>" to the given file and
// answers the exit code it was given.
//   probe.exe MARKER CODE   -> MARKER holds "probe 32" or "probe 64"; exit code CODE
// Exit code 255 when the arguments are wrong or the marker cannot be written.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool WriteMarker(const char* path) {
  FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  const char* text = sizeof(void*) == 8 ? "probe 64\n" : "probe 32\n";
  const DWORD length = static_cast<DWORD>(std::strlen(text));
  DWORD written = 0;
  return WriteFile(file.Get(), text, length, &written, nullptr) && written == length;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 255;
  char* end = nullptr;
  const long code = std::strtol(argv[2], &end, 10);
  if (end == argv[2] || *end != '\0' || code < 0 || code > 254) return 255;
  if (!WriteMarker(argv[1])) return 255;
  return static_cast<int>(code);
}
