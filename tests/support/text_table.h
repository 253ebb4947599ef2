#pragma once
// Reference tables kept as text under tests/data: a row a line, fields separated by
// '|' and trimmed; "#" starts a comment to the end of the line and blank lines are
// skipped; "\xNN" in a field stands for that byte (a space at either end, a control
// character). Header-only, since ORVALE_TEST_DATA_DIR is defined for the test binaries.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orvale::testing {

struct TextRow {
  std::string where;  // file:line, for the trace of a failure
  std::vector<std::string> fields;

  // Field i; empty beyond the last.
  std::string operator[](std::size_t i) const { return i < fields.size() ? fields[i] : ""; }

  // The blank-separated numbers of field i; "-" stands for a value not given (NaN).
  std::vector<double> Numbers(std::size_t i) const {
    std::vector<double> numbers;
    std::istringstream in((*this)[i]);
    for (std::string word; in >> word;)
      numbers.push_back(word == "-" ? std::nan("") : std::stod(word));
    return numbers;
  }
};

inline std::string TextField(std::string field) {
  const auto first = field.find_first_not_of(" \t\r");
  field = first == std::string::npos
              ? ""
              : field.substr(first, field.find_last_not_of(" \t\r") - first + 1);
  for (auto at = field.find("\\x"); at != std::string::npos && at + 4 <= field.size();
       at = field.find("\\x", at + 1)) {
    field.replace(at, 4, 1, static_cast<char>(std::stoi(field.substr(at + 2, 2), nullptr, 16)));
  }
  return field;
}

// The rows of tests/data/`name`, each of `field_count` fields when that is given; a
// file that cannot be read or holds no row fails.
inline std::vector<TextRow> ReadTextTable(const std::string& name, std::size_t field_count = 0) {
  const auto path = std::filesystem::path(ORVALE_TEST_DATA_DIR) / name;
  std::ifstream in(path);
  std::vector<TextRow> rows;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = line.substr(0, line.find('#'));
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    TextRow& row = rows.emplace_back(TextRow{name + ":" + std::to_string(number), {}});
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '|');)
      row.fields.push_back(TextField(field));
    if (field_count != 0) {
      EXPECT_EQ(row.fields.size(), field_count) << row.where;
    }
  }
  EXPECT_FALSE(rows.empty()) << path << " cannot be read or holds no row";
  return rows;
}

// The fields of one CSV record that holds no line break: commas separate, quotes
// enclose and a doubled quote inside them stands for one; a CR is dropped.
inline std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ',' && !quoted) {
      fields.emplace_back();
    } else if (line[i] == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += line[++i];
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] != '\r') {
      fields.back() += line[i];
    }
  }
  return fields;
}

}  // namespace orvale::testing
