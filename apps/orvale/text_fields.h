#pragma once
// Fields of the machine-readable outputs: RFC 4180 CSV and JSON strings.

#include <string>
#include <string_view>

namespace orvale::cli {

// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a
// line end; as it is otherwise.
std::string CsvField(std::string_view text);

// Appends `text` (UTF-8) as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);

inline std::string JsonString(std::string_view text) {
  std::string json;
  AppendJsonString(json, text);
  return json;
}

}  // namespace orvale::cli
