#include "text_json.h"

#include <utility>

#include "orvale/platform/text_encoding.h"

namespace orvale::studio {

std::string ToWire(std::string_view cp1252) {
  return Cp1252ToUtf8(cp1252);
}

std::optional<std::string> FromWire(std::string_view utf8) {
  return Utf8ToCp1252(utf8);
}

std::optional<std::string> TypedText(std::string_view utf8) {
  static constexpr std::pair<std::string_view, std::string_view> kSigns[] = {
      {"\u2032", "'"}, {"\u2033", "\""}, {"\u02DA", "\u00B0"}};
  std::string text(utf8);
  for (const auto& [sign, plain] : kSigns) {
    for (auto at = text.find(sign); at != std::string::npos; at = text.find(sign, at))
      text.replace(at, sign.size(), plain);
  }
  return FromWire(text);
}

std::optional<std::string> StringField(const nlohmann::json& body, const char* name) {
  if (!body.is_object()) return std::nullopt;
  const auto found = body.find(name);
  if (found == body.end() || !found->is_string()) return std::nullopt;
  return found->get<std::string>();
}

std::optional<long long> IntField(const nlohmann::json& body, const char* name) {
  if (!body.is_object()) return std::nullopt;
  const auto found = body.find(name);
  if (found == body.end() || !found->is_number_integer()) return std::nullopt;
  return found->get<long long>();
}

}  // namespace orvale::studio
