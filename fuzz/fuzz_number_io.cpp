// Number text of the point streams against the standard writer and reader: any bytes
// as a double written with any decimals, and as text read back, must agree byte for
// byte and bit for bit.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "number_io.h"

namespace {

using orvale::cli::kFixedRoom;

void CompareWritten(double value, int decimals) {
  char ours[kFixedRoom];
  char standard[kFixedRoom];
  const char* ours_end = orvale::cli::WriteFixed(ours, value, decimals);
  const auto result =
      std::to_chars(standard, standard + kFixedRoom, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc() || ours_end - ours != result.ptr - standard ||
      std::memcmp(ours, standard, static_cast<std::size_t>(ours_end - ours)) != 0) {
    std::abort();
  }
}

void CompareRead(std::string_view text) {
  double ours = 0.5, standard = 0.5;
  const bool ours_read = orvale::cli::ParseDecimal(text, ours);
  std::string_view unsigned_text = text;
  if (text.starts_with('+') && !text.starts_with("+-")) unsigned_text.remove_prefix(1);
  const char* end = unsigned_text.data() + unsigned_text.size();
  const auto [stop, error] = std::from_chars(unsigned_text.data(), end, standard);
  const bool standard_read = error == std::errc() && stop == end && std::isfinite(standard);
  if (!standard_read) standard = 0.5;
  if (ours_read != standard_read ||
      std::bit_cast<std::uint64_t>(ours) != std::bit_cast<std::uint64_t>(standard)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int decimals = data[0] % (orvale::cli::kMostFixedDecimals + 1);
  if (size >= 9) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, data + 1, sizeof bits);
    CompareWritten(std::bit_cast<double>(bits), decimals);
  }
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CompareRead(text);
  double value = 0.0;
  if (orvale::cli::ParseDecimal(text, value)) CompareWritten(value, decimals);
  return 0;
}
