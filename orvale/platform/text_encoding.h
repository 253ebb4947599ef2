#pragma once
// Windows-1252 <-> UTF-8. Library strings are Windows-1252 bytes as stored in files
// (the degree sign is 0xB0); only the programs' edges convert.

#include <optional>
#include <string>
#include <string_view>

namespace orvale {

// Every byte has a character: the five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, so the
// conversion back restores them.
std::string Cp1252ToUtf8(std::string_view text);

// nullopt when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// Typed angle text: as Utf8ToCp1252, with the typographic prime, double prime and ring
// above (U+2032, U+2033, U+02DA), which Windows-1252 lacks, and the masculine ordinal
// (U+00BA), which keyboards without a degree sign offer in its place, read as the
// minute, second and degree signs the angle reader knows: "51º 30′ 15″ N" reads as typed.
std::optional<std::string> Utf8AngleToCp1252(std::string_view text);

}  // namespace orvale
