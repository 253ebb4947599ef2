#pragma once
// What became of one position given to a projection entry. Only kOk is a result: a
// point with any other status has NaN in every output the caller gave, never a number
// standing in for one. Under kOk, a convergence or point scale factor that the method
// cannot give is a quiet NaN (shown as missing), not 0.

#include <cstdint>
#include <string_view>

namespace orvale {

enum class ProjectionStatus : std::uint8_t {
  kOk = 0,
  // The values keep their numbers (1 once stood for a position at 0, 0, which is now
  // computed like any other), so that a status stored as a number reads the same.
  // No spheroid, a semi-major axis or scale factor of 0, NaN or infinity, parameters
  // that are not finite numbers, or parameters that define no projection of the type
  // (two standard parallels that give no cone, say).
  kInvalidProjection = 2,
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
