#pragma once
// What became of one position given to a projection entry. The entries write their
// outputs whatever becomes of the point (zeros for an empty position, 0 for a latitude
// off the globe); the status says whether those numbers are a result or stand in for
// one.

#include <cstdint>
#include <string_view>

namespace orvale {

enum class ProjectionStatus : std::uint8_t {
  kOk = 0,
  // Within 0.001" of latitude and longitude 0 (or 1 mm of easting and northing 0): taken
  // as no position at all; the outputs are zeros and the scale factor k0.
  kEmptyPosition,
  // No spheroid, a semi-major axis or scale factor of 0, or parameters that define no
  // projection of the type (two standard parallels that give no cone, say).
  kInvalidProjection,
  // The record's method, or the national grid's axis or zone, is not one its type has.
  kUnknownMethod,
  // The position lies where the projection gives no result: off the globe, or where
  // its formulas give no finite number.
  kOutsideDomain,
  // An iteration reached its bound of rounds without settling.
  kNoConvergence,
  // A latitude, longitude, easting or northing that is not a finite number.
  kNotANumber,
  // A latitude beyond a pole (more than 90 degrees), or a grid position that would be.
  kBeyondPole,
  // A pole, which the projection sends to infinity (Mercator, say).
  kPoleNotRepresentable,
  // A position more than 90 degrees from the central meridian, which a transverse
  // projection cannot represent.
  kFarFromCentralMeridian,
};

// A short English reason for a status, for a message on the line that has no result;
// empty for kOk.
std::string_view ProjectionStatusText(ProjectionStatus status);

}  // namespace orvale
