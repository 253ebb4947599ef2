#pragma once
// Number text of the point streams, fast and exact: the same bytes as std::to_chars
// writes and the same values as std::from_chars reads, without their general-purpose
// cost on the common case of a co-ordinate with a handful of decimals.

#include <cstddef>
#include <string_view>

namespace orvale::cli {

// The most decimals WriteFixed takes.
inline constexpr int kMostFixedDecimals = 32;

// Room WriteFixed needs at `out` whatever the value: a sign, the 309 integer digits of
// the largest double, a point and kMostFixedDecimals decimals.
inline constexpr std::size_t kFixedRoom = 1 + 309 + 1 + kMostFixedDecimals;

// Writes `value` with `decimals` (0..kMostFixedDecimals) decimals, byte for byte as
// std::to_chars(out, out + kFixedRoom, value, std::chars_format::fixed, decimals): the
// exact binary value rounded half to even, a '-' for every value whose sign bit is set
// ("-0.000" for -0.0 and -0.0001), no point when `decimals` is 0. Returns the end of
// the text. Non-finite values are written as std::to_chars writes them ("inf", "nan");
// a `decimals` outside 0..kMostFixedDecimals writes nothing.
char* WriteFixed(char* out, double value, int decimals);

// Reads the whole of `text` as one decimal number: true, with the value std::from_chars
// (general format) gives, when all of the text is such a number and its value is a
// finite double. A single leading '+' is allowed ("+-5" is not a number); blanks,
// trailing text, hexadecimal, "inf", "nan" and numbers beyond a double's range (1e400,
// 1e-400) give false and leave `value` untouched.
bool ParseDecimal(std::string_view text, double& value);

}  // namespace orvale::cli
