#include "text_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "number_text.h"
#include "orvale/platform/text_encoding.h"

namespace orvale::cli {

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void AppendNumber(std::string& out, double value, int decimals, MissingMark missing) {
  if (!std::isfinite(value)) {
    out += missing == MissingMark::kDash ? "-" : missing == MissingMark::kNull ? "null" : "";
    return;
  }
  AppendFixed(out, value, decimals);
}

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(0);
  if (first < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0) low = 0xA0;   // no overlong forms
    if (first == 0xED) high = 0x9F;  // no surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  while (!text.empty()) {
    const char c = text.front();
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += "\\ufffd";
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  out += '"';
}

std::string Excerpt(std::string_view text, std::size_t limit) {
  std::string shown;
  std::size_t characters = 0;
  while (!text.empty() && characters < limit) {
    const std::size_t length = Utf8SequenceLength(text);
    const auto byte = static_cast<unsigned char>(text.front());
    if (length == 0 || byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown += escape;
      text.remove_prefix(1);
    } else {
      shown.append(text.substr(0, length));
      text.remove_prefix(length);
    }
    ++characters;
  }
  if (!text.empty()) shown += "...";
  return shown;
}

std::string EncodingProblem(std::string_view text) {
  // Bytes that are not UTF-8 are most often Windows-1252 (the library's own files):
  // show what they would be read as, so the user sees what to convert.
  if (!IsUtf8(text)) {
    return "'" + Excerpt(text) + "' is not UTF-8 text (as Windows-1252 it would read '" +
           Excerpt(Cp1252ToUtf8(text.substr(0, 80))) + "'); give UTF-8 text";
  }
  return "'" + Excerpt(text) + "' holds a character that Windows-1252 lacks";
}

}  // namespace orvale::cli
