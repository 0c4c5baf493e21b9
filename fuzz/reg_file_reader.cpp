#include "reg_file_reader.h"

namespace {

const std::uint32_t kString = 1;   // REG_SZ
const std::uint32_t kBinary = 3;   // REG_BINARY
const std::uint32_t kDword = 4;    // REG_DWORD

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The file's lines without their CR LF; false when a CR or LF stands alone.
bool SplitLines(const std::string &bytes, std::vector<std::string> &lines, std::string &error) {
  std::string::size_type start = 0;
  while (start < bytes.size()) {
    const std::string::size_type end = bytes.find("\r\n", start);
    const std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.find_first_of("\r\n") != std::string::npos) {
      error = "line " + std::to_string(lines.size() + 1) + ": a line break inside the line";
      return false;
    }
    if (end == std::string::npos) {
      error = "line " + std::to_string(lines.size() + 1) + ": the last line has no CR LF";
      return false;
    }
    lines.push_back(line);
    start = end + 2;
  }
  return true;
}

class LineReader {
 public:
  LineReader(const std::vector<std::string> &lines, std::size_t &index) : lines_(lines), index_(index) {}

  // A quoted text from `at` (on its opening quote) with \\ and \" escapes;
  // `at` ends after the closing quote.
  bool Quoted(std::string::size_type &at, std::string &text, std::string &error) const {
    const std::string &line = lines_[index_];
    if (at >= line.size() || line[at] != '"') return Fail("a quote expected", error);
    for (++at; at < line.size(); ++at) {
      const char c = line[at];
      if (c == '"') {
        ++at;
        return true;
      }
      if (c == '\\') {
        if (++at >= line.size() || (line[at] != '\\' && line[at] != '"'))
          return Fail("an unknown escape in a quoted text", error);
      }
      text += line[at];
    }
    return Fail("a quoted text without its closing quote", error);
  }

  // Comma-separated two-digit hexadecimal bytes from `at` to the end of the
  // line; a backslash after a comma continues them on the next line.
  bool HexBytes(std::string::size_type at, std::vector<std::uint8_t> &data, std::string &error) {
    const std::string *line = &lines_[index_];
    if (at == line->size()) return true;
    while (true) {
      if (at + 2 > line->size() || HexDigit((*line)[at]) < 0 || HexDigit((*line)[at + 1]) < 0)
        return Fail("two hexadecimal digits expected", error);
      data.push_back(static_cast<std::uint8_t>(HexDigit((*line)[at]) * 16 + HexDigit((*line)[at + 1])));
      at += 2;
      if (at == line->size()) return true;
      if ((*line)[at] != ',') return Fail("a comma expected between bytes", error);
      ++at;
      if (at + 1 == line->size() && (*line)[at] == '\\') {
        if (index_ + 1 >= lines_.size()) return Fail("a continuation at the end of the file", error);
        line = &lines_[++index_];
        at = line->find_first_not_of(' ');
        if (at == std::string::npos) return Fail("an empty continuation line", error);
      } else if (at == line->size()) {
        return Fail("a comma at the end of the data", error);
      }
    }
  }

  bool Fail(const std::string &what, std::string &error) const {
    error = "line " + std::to_string(index_ + 1) + ": " + what;
    return false;
  }

 private:
  const std::vector<std::string> &lines_;
  std::size_t &index_;
};

// The data after "name=": a string, dword:, hex: or hex(N):.
bool ReadData(LineReader &reader, const std::string &line, std::string::size_type at, RegFileValue &value,
              std::string &error) {
  if (at < line.size() && line[at] == '"') {
    std::string text;
    if (!reader.Quoted(at, text, error)) return false;
    if (at != line.size()) return reader.Fail("text after a string", error);
    value.type = kString;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return true;
  }
  const std::string rest = line.substr(at);
  if (rest.compare(0, 6, "dword:") == 0) {
    if (rest.size() != 14) return reader.Fail("a dword needs eight hexadecimal digits", error);
    std::uint32_t number = 0;
    for (std::size_t i = 6; i < 14; ++i) {
      if (HexDigit(rest[i]) < 0) return reader.Fail("a dword needs eight hexadecimal digits", error);
      number = number * 16 + static_cast<std::uint32_t>(HexDigit(rest[i]));
    }
    value.type = kDword;
    for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return true;
  }
  if (rest.compare(0, 4, "hex:") == 0) {
    value.type = kBinary;
    return reader.HexBytes(at + 4, value.data, error);
  }
  if (rest.compare(0, 4, "hex(") == 0) {
    const std::string::size_type close = rest.find("):");
    if (close == std::string::npos || close == 4 || close > 12) return reader.Fail("a malformed hex( type", error);
    std::uint32_t type = 0;
    for (std::size_t i = 4; i < close; ++i) {
      if (HexDigit(rest[i]) < 0) return reader.Fail("a malformed hex( type", error);
      type = type * 16 + static_cast<std::uint32_t>(HexDigit(rest[i]));
    }
    value.type = type;
    return reader.HexBytes(at + close + 2, value.data, error);
  }
  return reader.Fail("unknown data", error);
}

}  // namespace

bool ReadRegFile(const std::string &bytes, RegFile &file, std::string &error) {
  file = RegFile();
  std::vector<std::string> lines;
  if (!SplitLines(bytes, lines, error)) return false;
  if (lines.empty()) {
    error = "an empty file";
    return false;
  }
  if (lines[0] == "Windows Registry Editor Version 5.00") {
    file.version5 = true;
  } else if (lines[0] != "REGEDIT4") {
    error = "line 1: not a registry file header";
    return false;
  }
  for (std::size_t index = 1; index < lines.size(); ++index) {
    const std::string &line = lines[index];
    LineReader reader(lines, index);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3) return reader.Fail("a malformed key line", error);
      RegFileKey key;
      key.path = line.substr(1, line.size() - 2);
      if (key.path[0] == '-') {
        key.deleted = true;
        key.path.erase(0, 1);
      }
      if (key.path.empty()) return reader.Fail("a key without a name", error);
      file.keys.push_back(key);
      continue;
    }
    if (file.keys.empty() || file.keys.back().deleted) return reader.Fail("a value outside a key", error);
    RegFileValue value;
    std::string::size_type at = 0;
    if (line[0] == '@') {
      at = 1;
    } else if (!reader.Quoted(at, value.name, error)) {
      return false;
    }
    if (at >= line.size() || line[at] != '=') return reader.Fail("an equals sign expected", error);
    if (!ReadData(reader, line, at + 1, value, error)) return false;
    file.keys.back().values.push_back(value);
  }
  return true;
}
