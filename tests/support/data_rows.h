#pragma once
// Reference cases kept as text under tests/data, one case a line: fields split at "|"
// and trimmed, "#" to the end of the line a comment, blank lines skipped. UTF-8 text.
// Header-only, since ORVALE_TEST_DATA_DIR is defined for the test binaries alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::testing {

struct DataRow {
  std::string where;  // file:line, for the failure message
  std::vector<std::string> fields;

  // The blank-separated numbers of a field; "-" stands for a value not given (NaN).
  std::vector<double> Numbers(std::size_t field) const {
    std::vector<double> numbers;
    std::istringstream in(fields.at(field));
    for (std::string word; in >> word;) {
      numbers.push_back(word == "-" ? std::nan("") : std::stod(word));
    }
    return numbers;
  }
};

inline std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// The rows of tests/data/<name>, each with `field_count` fields.
inline std::vector<DataRow> ReadDataRows(const std::string& name, std::size_t field_count) {
  std::ifstream in(std::filesystem::path(ORVALE_TEST_DATA_DIR) / name);
  EXPECT_TRUE(in) << "cannot open tests/data/" << name;
  std::vector<DataRow> rows;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    DataRow& row = rows.emplace_back(DataRow{name + ":" + std::to_string(number), {}});
    for (std::size_t start = 0;;) {
      const std::size_t bar = line.find('|', start);
      row.fields.push_back(Trimmed(std::string_view(line).substr(start, bar - start)));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    EXPECT_EQ(row.fields.size(), field_count) << row.where;
    row.fields.resize(field_count);
  }
  EXPECT_FALSE(rows.empty()) << "no cases in tests/data/" << name;
  return rows;
}

}  // namespace orvale::testing
