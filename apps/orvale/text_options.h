#pragma once
// Options whose values are names from a small table ("latitude", "dms"), also
// accepted as the number they stand for.

#include <charconv>
#include <string>
#include <string_view>

#include "orvale/platform/text_encoding.h"

namespace orvale::cli {

struct NamedValue {
  std::string_view name;
  int value;
  std::string_view description;  // Windows-1252, as the library's own texts
};

// Finds `text` (a name, either case, or the number) in `table`.
template <typename Table>
bool LookUp(const Table& table, const std::string& text, int& value, std::string& problem) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  const bool is_number = error == std::errc() && end == text.data() + text.size();
  for (const NamedValue& entry : table) {
    const bool same_name =
        entry.name.size() == text.size() &&
        std::equal(text.begin(), text.end(), entry.name.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    if (same_name || (is_number && number == entry.value)) {
      value = entry.value;
      return true;
    }
  }
  problem = "unknown value '";
  problem += text;
  problem += "'; choose one of:";
  for (const NamedValue& entry : table) {
    problem += ' ';
    problem += entry.name;
  }
  return false;
}

// One line per entry, for --help.
template <typename Table>
std::string Describe(const Table& table) {
  std::string text;
  for (const NamedValue& entry : table) {
    text += "  " + std::string(entry.name) + " (" + std::to_string(entry.value) +
            "): " + Cp1252ToUtf8(entry.description) + "\n";
  }
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace orvale::cli
