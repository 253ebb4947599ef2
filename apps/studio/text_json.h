#pragma once
// The library's texts are Windows-1252; the wire is UTF-8. These convert at the
// studio's edge and read the fields of a request body.

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace orvale::studio {

// A library text for the wire.
std::string ToWire(std::string_view cp1252);
// A wire text for the library; nothing when it holds a character Windows-1252 lacks
// or is not UTF-8.
std::optional<std::string> FromWire(std::string_view utf8);

// What a user typed, for the library: the typographic prime, double prime and ring
// above (which Windows-1252 lacks) become the minute, second and degree signs the angle
// reader knows; then as FromWire.
std::optional<std::string> TypedText(std::string_view utf8);

// The body's string field `name`; nothing when the body is no object or the field is
// missing or no string.
std::optional<std::string> StringField(const nlohmann::json& body, const char* name);
// The body's integer field `name`, likewise.
std::optional<long long> IntField(const nlohmann::json& body, const char* name);

}  // namespace orvale::studio
