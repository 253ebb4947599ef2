#include "orvale/engine/survey/traverse.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/geodesic.h"

namespace orvale {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Clarke's best formula, with sigma = s / nu1, as printed. Its fourth-order term is
// r2 (1 + r2) sigma^4 / 24 added, which is how its makers state it; it is good to
// about a millimetre at 50 km and loses metres by 1000 km.
bool ClarkeBestFormula(const CSpheroid& sp, double* lat_b, double* lon_b, double lon_a, double s,
                       double azimuth, double lat_a) {
  const double sin_a = std::sin(lat_a), cos_a = std::cos(lat_a);
  const double radicand = 1.0 - sp.m_E2 * sin_a * sin_a;
  const double root = radicand > 0.0 ? std::sqrt(radicand) : 0.0;
  const double nu1 = root > 0.0 ? sp.m_SemiMajorAxis / root : 0.0;
  if (sp.m_E2 <= 0.0 || nu1 <= 0.0) {
    *lat_b = *lon_b = 0.0;
    return false;
  }
  const double sigma = s / nu1;
  const double cos_alpha = std::cos(azimuth), sin_alpha = std::sin(azimuth);
  const double ep2 = sp.m_Ep2;
  const double r1 = -ep2 * cos_alpha * cos_alpha * cos_a * cos_a;
  const double r2 = 3.0 * ep2 * (1.0 - r1) * sin_a * cos_a * cos_alpha;
  const double theta =
      sigma * (1.0 - (r1 * (1.0 + r1) - r2 * (1.0 + r2) * sigma / 4.0) * sigma * sigma / 6.0);
  const double sin_psi = sin_a * std::cos(theta) + cos_a * std::sin(theta) * cos_alpha;
  const double cos_psi = std::cos(std::asin(sin_psi));
  const double zeta = 1.0 - r1 * theta * theta / 2.0 - r2 * theta * theta * theta / 6.0;
  *lat_b = std::atan((sin_psi - zeta * sp.m_E2 * sin_a) * (1.0 + ep2) / cos_psi);
  double lon = lon_a + std::asin(sin_alpha * std::sin(theta) / cos_psi);
  if (lon > kPi) lon -= 2.0 * kPi;
  if (lon < -kPi) lon += 2.0 * kPi;
  *lon_b = lon;
  return true;
}

}  // namespace

bool CSpheroid::DirectProblem(double* lat_b, double* lon_b, double lon_a, double s, double azimuth,
                              double lat_a) const {
  if (!std::isfinite(lat_a) || !std::isfinite(lon_a) || !std::isfinite(s) ||
      !std::isfinite(azimuth)) {
    *lat_b = *lon_b = kNaN;
    return false;
  }
  if (m_RangeBearingMethod == kRangeBearingGeodesic) {
    const GeodesicDirectResult g = GeodesicDirect(*this, lat_a, lon_a, azimuth, s);
    *lat_b = g.latitude;
    *lon_b = g.longitude;
    return g.status == GeodesicStatus::kOk;
  }
  return ClarkeBestFormula(*this, lat_b, lon_b, lon_a, s, azimuth, lat_a);
}

void TraversePoint(double ea, double na, double d, double theta, double* eb, double* nb) {
  *eb = ea + d * std::sin(theta);
  *nb = na + d * std::cos(theta);
}

TraverseResult ComputeTraverse(CProjection& projection, const SurveyPoint& a,
                               const TraverseObservation& observation) {
  TraverseResult result;
  SurveyPoint& b = result.b;
  const double elevation = observation.from_horizontal ? observation.vertical_angle
                                                       : kHalfPi - observation.vertical_angle;
  b.height = a.height + observation.range * std::sin(elevation);
  const auto fail = [&result](ProjectionStatus status) {
    SurveyPoint& p = result.b;
    p.latitude = p.longitude = p.easting = p.northing = p.height = kNaN;
    result.status = status;
    return result;
  };
  // An observation that is not a number leaves B none, whatever the path would carry.
  if (!std::isfinite(observation.range) || !std::isfinite(observation.bearing) ||
      !std::isfinite(observation.vertical_angle)) {
    return fail(ProjectionStatus::kNotANumber);
  }
  if (observation.grid) {
    TraversePoint(a.easting, a.northing, observation.range * std::cos(elevation),
                  observation.bearing, &b.easting, &b.northing);
    b.latitude = projection.FootpointStart(b.northing);
    const ProjectionStatus status =
        projection.GridToGeog(b.easting, b.northing, &b.latitude, &b.longitude);
    if (status != ProjectionStatus::kOk) return fail(status);
    return result;
  }
  if (projection.m_Spheroid == nullptr ||
      !projection.m_Spheroid->DirectProblem(&b.latitude, &b.longitude, a.longitude,
                                            observation.range, observation.bearing, a.latitude)) {
    return fail(ProjectionStatus::kOutsideDomain);
  }
  const ProjectionStatus status =
      projection.GeogToGrid(b.latitude, b.longitude, &b.easting, &b.northing);
  if (status != ProjectionStatus::kOk) return fail(status);
  return result;
}

}  // namespace orvale
