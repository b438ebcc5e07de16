#pragma once

#include <sstream>
#include <string>
#include <vector>

// A report's table as column texts, for comparing drawings and files with it.
namespace vortalis::testing {

using TableRowTexts = std::vector<std::string>;

// The rows after the table header, each split at its TABs.
inline std::vector<TableRowTexts> ReportTable(const std::vector<std::string>& lines) {
  std::vector<TableRowTexts> rows;
  bool inTable = false;
  for (const std::string& line : lines) {
    if (line.starts_with("Distance (")) {
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    TableRowTexts row;
    std::stringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t'))
      if (!field.empty()) row.push_back(field);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace vortalis::testing
