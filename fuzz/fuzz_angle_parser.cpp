// Typed angle text of any bytes: never a crash, and what is accepted is a finite
// angle that prints.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int type = data[0] % 11;     // 1..9 are types; 0 and 10 must be refused
  const int notation = data[1] % 7;  // 0..5 are notations; 6 must be handled
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  const orvale::AngleParseResult parsed = orvale::ParseAngle(text, type, notation);
  if (parsed.ok) {
    if (!std::isfinite(parsed.radians)) std::abort();
    orvale::FormatAngle(parsed.radians, type, notation % 6, -1, 0);
  }
  return 0;
}
