#pragma once
// Fields of the machine-readable outputs (RFC 4180 CSV and JSON strings), and input
// text quoted safely in messages.

#include <string>
#include <string_view>

namespace orvale::cli {

// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a
// line end; as it is otherwise.
std::string CsvField(std::string_view text);

// How a value that is no number (a convergence or scale the method cannot give) is
// shown: "-" in text, an empty CSV field, null in JSON.
enum class MissingMark { kDash, kEmpty, kNull };

// Appends `value` with `decimals` decimals (0..32), or `missing` when it is not finite:
// no nan, inf or stand-in number is ever printed.
void AppendNumber(std::string& out, double value, int decimals, MissingMark missing);

// Appends `text` as a JSON string, quotes included. Bytes that are not UTF-8 are each
// replaced by U+FFFD, so the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);

inline std::string JsonString(std::string_view text) {
  std::string json;
  AppendJsonString(json, text);
  return json;
}

// The length of the valid UTF-8 sequence at the start of `text`; 0 when it starts
// with a byte that begins none (or `text` is empty).
std::size_t Utf8SequenceLength(std::string_view text);

bool IsUtf8(std::string_view text);

// Input text for a message: at most `limit` characters, control bytes and bytes that
// are not UTF-8 written as \xNN, "..." added when cut.
std::string Excerpt(std::string_view text, std::size_t limit = 80);

// Why UTF-8 text could not be taken to the library's Windows-1252: either it is not
// UTF-8 at all, or it holds a character that Windows-1252 lacks.
std::string EncodingProblem(std::string_view text);

}  // namespace orvale::cli
