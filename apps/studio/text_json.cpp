#include "text_json.h"

#include "orvale/platform/text_encoding.h"

namespace orvale::studio {

std::string ToWire(std::string_view cp1252) {
  return Cp1252ToUtf8(cp1252);
}

std::optional<std::string> FromWire(std::string_view utf8) {
  return Utf8ToCp1252(utf8);
}

std::optional<std::string> TypedText(std::string_view utf8) {
  return Utf8AngleToCp1252(utf8);
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
