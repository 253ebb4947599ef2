#pragma once
// The built-in spheroids: 53 rows of EPSG ellipsoids, addressed by index 0 to 52.
// User record files follow them in the combined list from index 53 (spheroid.h).

#include <cstdint>
#include <span>
#include <string_view>

namespace orvale {

// One catalogue row as published. Both b and 1/f are stored: neither is derived
// from the other, so each keeps the digits of its source.
struct SpheroidRow {
  std::string_view name;
  std::string_view country;  // empty where the row has none
  std::uint32_t epsg;
  double semi_major_axis;     // a, metres
  double semi_minor_axis;     // b, metres
  double inverse_flattening;  // 1/f; 1.0 marks a sphere (b == a)
};

inline constexpr int kBuiltInSpheroidCount = 53;
inline constexpr int kFirstUserSpheroidIndex = kBuiltInSpheroidCount;

// WGS84, chosen wherever a spheroid is needed and none is known.
inline constexpr int kDefaultSpheroidIndex = 26;

// All rows, in index order.
std::span<const SpheroidRow, kBuiltInSpheroidCount> BuiltInSpheroids();

}  // namespace orvale
