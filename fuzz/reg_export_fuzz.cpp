// The .reg export from whatever a layout's key holds: value names of any
// bytes (as the ANSI functions can name them: no zero byte), any types, data
// of any size, in both modes, under a layout key of any name. The file, read
// back by a reader of its own, holds exactly the product key with its
// version and, for the layout, every value of this mode's form, name and data
// byte for byte, in the registry's order; a value of another form is left
// out. A name or key that a line of the file cannot carry (a CR or LF in it)
// is left out as well, so that nothing in the file is ever another key or
// value than the stored ones, and the export then says it is incomplete.
// Nothing is left open.
#include <string>
#include <vector>

#include <windows.h>

#include "deskplan/app/export_registry_file.h"
#include "deskplan/app/program_state.h"
#include "fuzz_check.h"
#include "reg_file_reader.h"
#include "winsim/files.h"
#include "winsim/machine.h"
#include "winsim/registry.h"

namespace {

const char kProductPath[] = "Software\\Ostrafen\\Deskplan";
const char kProductKeyLine[] = "HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan";
const char kExportPath[] = "C:\\Users\\Marie\\Documents\\Deskplan_4.2.0.0_2026_12_07.reg";

bool HasLineBreak(const std::string &text) { return text.find_first_of("\r\n") != std::string::npos; }

// A name of the input's bytes without zero bytes (and, for a key, without
// backslashes): short, or now and then repeated up to the registry's longest.
// Two long names at most per input: each costs a whole run's time.
std::string Name(FuzzInput &input, bool key, int &longNames) {
  const std::uint8_t shape = input.Byte();
  std::string name = input.Bytes(shape & 31);
  std::string cleaned;
  for (char c : name)
    if (c != '\0' && !(key && c == '\\')) cleaned += c;
  if ((shape & 0xE0) == 0xE0 && !cleaned.empty() && longNames < 2) {
    ++longNames;
    const std::size_t longest = key ? 255 : 16383;
    while (cleaned.size() < longest) cleaned += cleaned;
    cleaned.resize(longest - (input.Byte() & 1));
  }
  return cleaned;
}

bool Qualifies(const winsim::RegistryValue &value, bool legacy) {
  if (legacy) return value.type == REG_DWORD && value.data.size() == 4;
  return value.type == REG_BINARY && value.data.size() == 8;
}

std::string FileBytes(const std::string &windowsPath) {
  std::string bytes;
  FILE *file = std::fopen(winsim::HostPath(windowsPath).c_str(), "rb");
  FUZZ_CHECK(file != nullptr);
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput input(data, size);
  winsim::Reset();
  ResetProgramState();
  winsim::SetLocalTime(SYSTEMTIME{2026, 12, 1, 7, 9, 30, 0, 0});
  const std::uint8_t mode = input.Byte();
  const bool legacy = mode & 1;
  AppOptions.legacyMode = legacy;
  AppOptions.quiet = true;

  int longNames = 0;
  std::string layout = (mode & 2) ? Name(input, true, longNames) : std::string("1024x768");
  if (layout.empty()) layout = "1024x768";
  const std::string layoutPath = std::string(kProductPath) + "\\" + layout;
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, layoutPath);
  // The options' key is never exported, whatever it holds.
  if (mode & 4) winsim::SetRegistryValue(HKEY_CURRENT_USER, std::string(kProductPath) + "\\Options", "x", REG_BINARY,
                                          std::vector<BYTE>(8, 1));
  for (int index = 0; index < 24 && !input.Empty(); ++index) {
    const std::string name = Name(input, false, longNames);
    const std::uint8_t kind = input.Byte();
    // Mostly the two forms of layouts, then any type.
    const DWORD type = (kind & 3) == 0 ? REG_BINARY : (kind & 3) == 1 ? REG_DWORD : (kind >> 2) % 12;
    std::size_t length = input.Byte();
    if (length & 0x80) length = (length & 0x7F) * 3;  // up to 381 bytes
    else length &= 15;
    const std::string bytes = input.Bytes(length);
    winsim::SetRegistryValue(HKEY_CURRENT_USER, layoutPath, name, type, std::vector<BYTE>(bytes.begin(), bytes.end()));
  }

  const ExportOutcome outcome = ExportRegistryFile();
  FUZZ_CHECK(outcome != kExportFailed);

  RegFile file;
  std::string error;
  const bool read = ReadRegFile(FileBytes(kExportPath), file, error);
  if (!read) std::fprintf(stderr, "%s\n", error.c_str());
  FUZZ_CHECK(read);
  FUZZ_CHECK(file.version5 == !legacy);
  FUZZ_CHECK(!file.keys.empty());
  FUZZ_CHECK(file.keys[0].path == kProductKeyLine && !file.keys[0].deleted);
  FUZZ_CHECK(file.keys[0].values.size() == 1);
  FUZZ_CHECK(file.keys[0].values[0].name == "Version" && file.keys[0].values[0].type == REG_SZ);
  FUZZ_CHECK(std::string(file.keys[0].values[0].data.begin(), file.keys[0].values[0].data.end()) ==
             std::string("4.2.0.0", 8));

  // The options' key, named so exactly, is no layout; a layout or value
  // left out makes the export incomplete.
  if (layout == "Options") {
    FUZZ_CHECK(file.keys.size() == 1 && outcome == kExportComplete);
  } else if (HasLineBreak(layout)) {
    FUZZ_CHECK(file.keys.size() == 1 && outcome == kExportIncomplete);
  } else {
    bool valueLeftOut = false;
    FUZZ_CHECK(file.keys.size() == 2);
    const RegFileKey &key = file.keys[1];
    FUZZ_CHECK(key.path == std::string(kProductKeyLine) + "\\" + layout && !key.deleted);
    // Every stored value of the mode's form whose name a line can carry, in
    // the registry's order, and nothing else.
    std::vector<RegFileValue> expected;
    for (const std::string &name : winsim::RegistryValueNames(HKEY_CURRENT_USER, layoutPath)) {
      const auto value = winsim::ReadRegistryValue(HKEY_CURRENT_USER, layoutPath, name);
      FUZZ_CHECK(value.has_value());
      if (!Qualifies(*value, legacy)) continue;
      if (HasLineBreak(name)) {
        valueLeftOut = true;
        continue;
      }
      expected.push_back({name, value->type, std::vector<std::uint8_t>(value->data.begin(), value->data.end())});
    }
    FUZZ_CHECK(outcome == (valueLeftOut ? kExportIncomplete : kExportComplete));
    FUZZ_CHECK(key.values.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      FUZZ_CHECK(key.values[i].name == expected[i].name);
      FUZZ_CHECK(key.values[i].type == expected[i].type);
      FUZZ_CHECK(key.values[i].data == expected[i].data);
    }
  }
  FUZZ_CHECK(winsim::OpenFileCount() == 0);
  FUZZ_CHECK(winsim::OpenRegistryHandleCount() == 0);
  // The machine lets go of what the run left in it, so that libFuzzer finds
  // no growth to search for leaks after every input.
  winsim::Reset();
  return 0;
}
