// Reads an installer database through msitools' msiinfo: a table as rows of
// named columns, and the summary information as named fields.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace statics {

using MsiRow = std::map<std::string, std::string>;

// Parses "msiinfo export" output: a line of column names, a line of column
// types, a line with the table name and its keys, then one line per row;
// fields are separated by tabs.
std::vector<MsiRow> ParseMsiTable(const std::string& text);
// Parses "msiinfo suminfo" output ("Name: value" lines).
std::map<std::string, std::string> ParseMsiSummary(const std::string& text);

// Runs a command and answers its standard output ("" when it fails).
std::string CommandOutput(const std::string& command, bool* succeeded = nullptr);

}  // namespace statics
