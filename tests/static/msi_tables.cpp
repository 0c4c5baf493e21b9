#include "msi_tables.h"

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>

namespace statics {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

struct PipeCloser {
  void operator()(FILE* pipe) const { pclose(pipe); }
};

}  // namespace

std::vector<MsiRow> ParseMsiTable(const std::string& text) {
  std::vector<MsiRow> rows;
  const std::vector<std::string> lines = Lines(text);
  if (lines.size() < 3) return rows;
  const std::vector<std::string> columns = SplitTabs(lines[0]);
  for (std::size_t i = 3; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const std::vector<std::string> fields = SplitTabs(lines[i]);
    MsiRow row;
    for (std::size_t c = 0; c < columns.size(); ++c) row[columns[c]] = c < fields.size() ? fields[c] : "";
    rows.push_back(row);
  }
  return rows;
}

std::map<std::string, std::string> ParseMsiSummary(const std::string& text) {
  std::map<std::string, std::string> fields;
  for (const std::string& line : Lines(text)) {
    const std::size_t colon = line.find(": ");
    if (colon != std::string::npos) fields[line.substr(0, colon)] = line.substr(colon + 2);
  }
  return fields;
}

std::string CommandOutput(const std::string& command, bool* succeeded) {
  std::string output;
  std::unique_ptr<FILE, PipeCloser> pipe(popen((command + " 2>/dev/null").c_str(), "r"));
  if (!pipe) {
    if (succeeded) *succeeded = false;
    return output;
  }
  std::array<char, 4096> chunk;
  std::size_t got;
  while ((got = fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0) output.append(chunk.data(), got);
  const int status = pclose(pipe.release());
  if (succeeded) *succeeded = status == 0;
  return output;
}

}  // namespace statics
