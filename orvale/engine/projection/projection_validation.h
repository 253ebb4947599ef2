#pragma once
// Checks of the defining parameters of a projection and of a spheroid typed by hand,
// made before they are used, so that a parameter that defines no projection is named
// rather than turned into numbers that look like results.

#include <cstdint>
#include <string_view>

#include "orvale/engine/projection/projection.h"

namespace orvale {

// The defining parameter a problem is about.
enum class DefiningParameter : std::uint8_t {
  kNone,
  kSpheroid,
  kSemiMajorAxis,
  kInverseFlattening,
  kType,
  kMethod,
  kOriginLatitude,
  kCentralMeridian,
  kFalseEasting,
  kFalseNorthing,
  kScaleFactor,
  kStandardParallel1,
  kStandardParallel2,
  kParameterBlock,
};

// The first bad parameter and why (a fixed English text); `parameter` is kNone and
// `reason` empty when every parameter checked is usable.
struct ParameterProblem {
  DefiningParameter parameter = DefiningParameter::kNone;
  std::string_view reason;

  bool ok() const { return parameter == DefiningParameter::kNone; }
};

// The smallest inverse flattening taken as a spheroid: every spheroid of the earth lies
// near 300, and below 100 the series of the projections lose their accuracy. 0 and 1
// stand for a sphere.
inline constexpr double kSmallestInverseFlattening = 100.0;

// A spheroid given as its semi-major axis (metres) and inverse flattening.
ParameterProblem CheckSpheroidParameters(double semi_major_axis, double inverse_flattening);

// The defining members of `projection` (type, method, origin, false origin, scale
// factor, standard parallels and, for the methods that take them, the parameter
// block) and its spheroid. Reads only what a user or a record sets, never the
// constants set-up derives, so it may be called before or after set-up; values that
// set-up derives (the scale factor of a two-parallel Lambert) are checked as given.
ParameterProblem CheckProjectionParameters(const CProjection& projection);

}  // namespace orvale
