#include "number_io.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvale::cli {
namespace {

// g++ and clang both have it; __extension__ keeps -Wpedantic quiet about it.
__extension__ typedef unsigned __int128 Uint128;

constexpr std::array<Uint128, kMostFixedDecimals + 1> kPowersOfFive = [] {
  std::array<Uint128, kMostFixedDecimals + 1> powers{};
  Uint128 power = 1;
  for (auto& entry : powers) {
    entry = power;
    power *= 5;
  }
  return powers;
}();
// 5^32 < 2^75 and a mantissa < 2^53: their product always fits in 128 bits.
static_assert(kPowersOfFive[kMostFixedDecimals] < (Uint128(1) << 75));

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// |value| as mantissa × 2^exponent, exactly, for a finite value.
struct BinaryValue {
  std::uint64_t mantissa;
  int exponent;
};

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075;  // 1023 + the 52 bits below the point
constexpr unsigned kInfiniteExponent = 0x7FF;

bool Decompose(double value, BinaryValue& binary) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<unsigned>((bits >> kMantissaBits) & kInfiniteExponent);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
  if (biased == kInfiniteExponent) return false;
  if (biased == 0) {
    binary = {fraction, 1 - kExponentBias};  // subnormal: no hidden bit
  } else {
    binary = {fraction | (std::uint64_t{1} << kMantissaBits),
              static_cast<int>(biased) - kExponentBias};
  }
  return true;
}

// round-half-even(|value| × 10^decimals) when it is below 2^64; false when it is not
// (or cannot be told cheaply), for the general writer to handle.
//
// |value| × 10^decimals = mantissa × 5^decimals × 2^(exponent + decimals): the product
// with the power of five is exact in 128 bits, and the power of two is a shift whose
// dropped bits decide the rounding exactly.
bool ScaledInteger(double value, int decimals, std::uint64_t& scaled) {
  BinaryValue binary{};
  if (!Decompose(value, binary)) return false;
  const Uint128 product = Uint128(binary.mantissa) * kPowersOfFive[decimals];
  const int shift = binary.exponent + decimals;
  Uint128 result = 0;
  if (shift >= 0) {
    if (shift >= 64 || product >= (Uint128(1) << (64 - shift))) return false;
    result = product << shift;
  } else if (shift > -128) {
    const int dropped = -shift;
    result = product >> dropped;
    const Uint128 remainder = product & ((Uint128(1) << dropped) - 1);
    const Uint128 half = Uint128(1) << (dropped - 1);
    if (remainder > half || (remainder == half && (result & 1) != 0)) ++result;
    if ((result >> 64) != 0) return false;
  } else if (shift < -128) {
    result = 0;  // the product is below 2^128, so under half of 2^-shift
  } else {
    return false;
  }
  scaled = static_cast<std::uint64_t>(result);
  return true;
}

// Writes `scaled` / 10^decimals with all its decimals and at least one integer digit.
char* WriteScaled(char* out, bool negative, std::uint64_t scaled, int decimals) {
  // Up to 20 digits of a 64-bit integer, or "0." and 32 decimals' worth of zeros.
  constexpr int kRoom = 48;
  char digits[kRoom];
  std::memset(digits, '0', kRoom);
  char* first = digits + kRoom;
  while (scaled >= 100) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * (scaled % 100), 2);
    scaled /= 100;
  }
  if (scaled >= 10) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * scaled, 2);
  } else {
    *--first = static_cast<char>('0' + scaled);
  }
  const int written = static_cast<int>(digits + kRoom - first);
  const int width = written > decimals ? written : decimals + 1;  // the zeros are there
  first = digits + kRoom - width;
  const int integer_digits = width - decimals;
  if (negative) *out++ = '-';
  std::memcpy(out, first, static_cast<std::size_t>(integer_digits));
  out += integer_digits;
  if (decimals == 0) return out;
  *out++ = '.';
  std::memcpy(out, first + integer_digits, static_cast<std::size_t>(decimals));
  return out + decimals;
}

constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMostExactPowerOfTen = 22;  // 5^22 < 2^53: 10^22 is a double exactly
// 19 decimal digits always fit in 64 bits; a longer mantissa may wrap (harmlessly, as
// it is then left to the general reader).
constexpr int kMostDigits = 19;
constexpr std::uint64_t kMostExactMantissa = std::uint64_t{1} << 53;
// Beyond this many exponent digits the general reader decides (range and all).
constexpr int kMostExponentDigits = 4;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Eight digits at once, as one little-endian word: the digits of a co-ordinate's
// decimals come in runs that long.
bool EightDigits(const char* p, std::uint32_t& value) {
  std::uint64_t word = 0;
  std::memcpy(&word, p, sizeof word);
  if ((((word + 0x4646464646464646) | (word - 0x3030303030303030)) & 0x8080808080808080) != 0)
    return false;
  word = ((word & 0x0F0F0F0F0F0F0F0F) * 2561) >> 8;
  word = ((word & 0x00FF00FF00FF00FF) * 6553601) >> 16;
  value = static_cast<std::uint32_t>(((word & 0x0000FFFF0000FFFF) * 42949672960001) >> 32);
  return true;
}

// Adds the digits at `p` to `mantissa` (wrapping past 19 digits); returns where they
// stop.
const char* ReadDigits(const char* p, const char* end, std::uint64_t& mantissa) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint32_t eight = 0;
    while (end - p >= 8 && EightDigits(p, eight)) {
      mantissa = mantissa * 100000000 + eight;
      p += 8;
    }
  }
  for (; p != end && IsDigit(*p); ++p)
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
  return p;
}

// The digits of a plain decimal number whose value one correctly rounded multiply or
// divide gives (at most 19 digits, a mantissa up to 2^53, a power of ten within ±22):
// then both factors are exact doubles and the one rounding is the right one. False
// when the text is anything else, for std::from_chars to decide.
bool ParseExactlyScaled(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  std::uint64_t mantissa = 0;
  const char* const integer = p;
  p = ReadDigits(p, end, mantissa);
  auto digits = p - integer;
  std::ptrdiff_t fraction_digits = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    p = ReadDigits(p, end, mantissa);
    fraction_digits = p - fraction;
    digits += fraction_digits;
  }
  if (digits == 0 || digits > kMostDigits) return false;
  int exponent = 0;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative_exponent = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    const char* const exponent_digits = p;
    for (; p != end && IsDigit(*p); ++p) {
      if (p - exponent_digits >= kMostExponentDigits) return false;
      exponent = exponent * 10 + (*p - '0');
    }
    if (p == exponent_digits) return false;
    if (negative_exponent) exponent = -exponent;
  }
  if (p != end || mantissa > kMostExactMantissa) return false;
  const int power = exponent - static_cast<int>(fraction_digits);
  double magnitude = static_cast<double>(mantissa);
  if (mantissa == 0) {
    magnitude = 0.0;
  } else if (power >= 0 && power <= kMostExactPowerOfTen) {
    magnitude *= kExactPowersOfTen[power];
  } else if (power < 0 && power >= -kMostExactPowerOfTen) {
    magnitude /= kExactPowersOfTen[-power];
  } else {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

char* WriteFixed(char* out, double value, int decimals) {
  if (decimals < 0 || decimals > kMostFixedDecimals) return out;
  std::uint64_t scaled = 0;
  if (ScaledInteger(value, decimals, scaled)) {
    return WriteScaled(out, std::signbit(value), scaled, decimals);
  }
  return std::to_chars(out, out + kFixedRoom, value, std::chars_format::fixed, decimals).ptr;
}

bool ParseDecimal(std::string_view text, double& value) {
  // One sign: "+-51" is not a number.
  if (text.starts_with('+') && !text.starts_with("+-")) text.remove_prefix(1);
  double parsed = 0.0;
  if (ParseExactlyScaled(text, parsed)) {
    value = parsed;
    return true;
  }
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, parsed);
  if (error != std::errc() || stop != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace orvale::cli
