#pragma once
// The geodesic, the shortest path on the spheroid, solved to the last few nanometres
// at any distance: the direct problem (the end of a line of given start, azimuth and
// length) and the inverse problem (the line between two points), after C. F. F.
// Karney, "Algorithms for geodesics", J. Geodesy 87, 43-55 (2013): the auxiliary
// sphere, series in the third flattening n to n^6, and Newton's method on the azimuth
// at the start for the inverse.

#include <cstdint>

#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

enum class GeodesicStatus : std::uint8_t {
  kOk = 0,
  // A latitude, longitude, azimuth or distance that is not a finite number, or a
  // latitude beyond a pole.
  kNotANumber,
  // A spheroid without a positive semi-major axis.
  kNoSpheroid,
  // The inverse's search for the azimuth did not settle within its bound of rounds
  // (never seen on an earthly spheroid; kept so that no iteration can run on).
  kNoConvergence,
};

// The line between two points. Azimuths are forward azimuths in radians, clockwise
// from north in (-pi, pi]: at A towards B, and at B continuing away from A (the
// azimuth at B back to A is this plus pi). Under any status but kOk every value is NaN.
struct GeodesicInverseResult {
  double distance = 0.0;   // metres
  double azimuth_a = 0.0;  // radians
  double azimuth_b = 0.0;  // radians, forward at B
  GeodesicStatus status = GeodesicStatus::kOk;
  int rounds = 0;  // of the azimuth search (0 along meridians and the equator)
};

// Latitudes and longitudes in radians; the longitudes need not be reduced. Coincident
// points give distance 0 and azimuths 0. Where two shortest lines exist (antipodal
// points on the equator, points at a pole) one of them is given.
[[nodiscard]] GeodesicInverseResult GeodesicInverse(const CSpheroid& spheroid, double latitude_a,
                                                    double longitude_a, double latitude_b,
                                                    double longitude_b);

// The end of the geodesic of `distance` metres (negative goes backwards) leaving
// (latitude, longitude) at `azimuth` (radians): latitude and longitude of the end in
// radians, the longitude in (-pi, pi], and the forward azimuth there. NaN in every
// value under any status but kOk.
struct GeodesicDirectResult {
  double latitude = 0.0;
  double longitude = 0.0;
  double azimuth = 0.0;
  GeodesicStatus status = GeodesicStatus::kOk;
};

[[nodiscard]] GeodesicDirectResult GeodesicDirect(const CSpheroid& spheroid, double latitude,
                                                  double longitude, double azimuth,
                                                  double distance);

}  // namespace orvale
