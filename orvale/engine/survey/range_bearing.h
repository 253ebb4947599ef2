#pragma once
// Range and bearing between two points: on the spheroid (by the method the spheroid
// selects), on the grid of a projection, and along the rhumb line, with the nautical
// mile at the mean latitude, the t - T corrections of a transverse Mercator grid and
// the line scale factor. Angles in radians, lengths in metres, bearings clockwise from
// north in [0, 2 pi).

#include <cstdint>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// Values of CSpheroid::m_RangeBearingMethod (bench/geodesic_error_profile.md has each
// one's errors against GeographicLib by length of line).
// The normal section as an elliptic arc: within 0.1 mm and 0.03" of the geodesic up to
// 100 km (its azimuths are the normal section's), metres beyond 1000 km.
inline constexpr std::uint32_t kRangeBearingEllipticArc = 0;
// The normal section by series: within a few micrometres up to 100 km, decimetres by
// 1000 km; no result along the equator, and azimuths turned by half a turn across the
// 180th meridian or within a degree of a pole.
inline constexpr std::uint32_t kRangeBearingSeries = 1;
// The geodesic, exact to a few nanometres at any distance (geodesic.h).
inline constexpr std::uint32_t kRangeBearingGeodesic = 2;

// The result of one way of measuring a line.
struct RANGE_BEARING {
  double m_Range = 0.0;            // metres
  double m_SlopeDistance = 0.0;    // metres, the range corrected for the heights
  double m_NauticalMiles = 0.0;    // the range in nautical miles (rhumb line only)
  double m_BearingAB = 0.0;        // radians
  double m_BearingBA = 0.0;        // radians
  double m_LineScaleFactor = 0.0;  // grid distance / spheroidal range
};

// One end of the line, in both forms and with its height.
struct SurveyPoint {
  double latitude = 0.0;   // radians
  double longitude = 0.0;  // radians
  double easting = 0.0;    // metres
  double northing = 0.0;   // metres
  double height = 0.0;     // metres
};

struct RangeAndBearingResult {
  RANGE_BEARING spheroidal;
  RANGE_BEARING grid;
  RANGE_BEARING rhumb;
  double nautical_mile = 0.0;  // metres: one minute of latitude at the mean latitude
  double t_minus_T_a = 0.0;    // seconds of arc
  double t_minus_T_b = 0.0;    // seconds of arc
  // False when the spheroidal method gave no result (its record then holds zeros),
  // or a position is not a number (every record then holds zeros).
  bool spheroidal_ok = true;
  bool rhumb_ok = true;
};

// Every range and bearing between A and B: the spheroidal record on `spheroid` by its
// m_RangeBearingMethod, the grid record from the grid co-ordinates, the rhumb line,
// one nautical mile, t - T at A and at B (0 unless `projection` has a spheroid and is
// of the transverse Mercator family), and the line scale factor (0 for a zero range).
RangeAndBearingResult ComputeRangeAndBearing(const CSpheroid& spheroid,
                                             const CProjection& projection, const SurveyPoint& a,
                                             const SurveyPoint& b);

// Plane bearing (atan2(dE, dN) in [0, 2 pi), 0 for coincident points) and distance
// from (ea, na) to (eb, nb).
void GridRangeAndBearing(double ea, double na, double eb, double nb, double* bearing,
                         double* distance);

// The bearing the other way: plus pi below pi, else minus pi.
double ReverseBearing(double bearing);

}  // namespace orvale
