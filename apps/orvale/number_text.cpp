#include "number_text.h"

#include <charconv>
#include <system_error>

namespace orvale::cli {

void AppendFixed(std::string& out, double value, int decimals) {
  // Room for the largest double with 32 decimals.
  char text[384];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  out.append(text, result.ec == std::errc() ? result.ptr : text);
}

bool ReadDecimal(std::string_view text, double& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace orvale::cli
