// Rectified Skewed Orthomorphic (type 11, and state plane method 3): Hotine's oblique
// Mercator on the aposphere, rotated onto the grid by the fixed angle whose sine is 0.6
// and cosine 0.8. The method chooses how that rotation and the offsets are applied:
// 0 as in Borneo (no offsets), 1 as in Malaya (easting offset), 2 and 3 with both offsets
// (Alaska zone 1).

#include <cmath>
#include <cstddef>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots. P0..P5 are given; the rest are derived by the set-up.
constexpr std::size_t kSinSkew = 0;  // sin of the skew angle of the initial line
constexpr std::size_t kCosSkew = 1;
constexpr std::size_t kInverseOffsetU = 2;  // added to the rectified u by the inverse
constexpr std::size_t kInverseOffsetV = 3;
constexpr std::size_t kEastingOffset = 4;  // added by the forward rectification
constexpr std::size_t kNorthingOffset = 5;
constexpr std::size_t kAposphereRadius = 6;       // A' = B sqrt(rho0 nu0), before k0
constexpr std::size_t kAposphereRatio = 7;        // B
constexpr std::size_t kLogH = 8;                  // ln H
constexpr std::size_t kInverseScaledRadius = 9;   // B / (A' k0)
constexpr std::size_t kSkewOriginLongitude = 10;  // lambda0'
constexpr std::size_t kSkewAngle = 11;            // gamma0
constexpr std::size_t kTanSkew = 12;

constexpr int kLastMethod = 3;

bool HasRectification(int method) {
  return method >= 0 && method <= kLastMethod;
}

// Skew co-ordinates on the aposphere, u along the initial line and v across it.
struct Skew {
  double u = 0.0;
  double v = 0.0;
};

struct Grid {
  double easting = 0.0;
  double northing = 0.0;
};

Grid Rectify(const CProjection& p, const Skew& skew) {
  const auto& param = p.m_Param;
  if (p.m_Method == 0) return {0.8 * skew.u + 0.6 * skew.v, 0.6 * skew.u - 0.8 * skew.v};
  const double easting = 0.8 * skew.v - 0.6 * skew.u + param[kEastingOffset];
  const double northing = 0.8 * skew.u + 0.6 * skew.v;
  if (p.m_Method == 1) return {easting, northing};
  return {easting, northing + param[kNorthingOffset]};
}

Skew Unrectify(const CProjection& p, double easting, double northing) {
  const auto& param = p.m_Param;
  if (p.m_Method == 0) return {0.8 * easting + 0.6 * northing, 0.6 * easting - 0.8 * northing};
  return {0.8 * northing - 0.6 * easting + param[kInverseOffsetU],
          0.8 * easting + 0.6 * northing + param[kInverseOffsetV]};
}

// Convergence from tan of the skew-grid convergence: method 0 takes the skew angle
// off; the others turn the grid back by the angle whose tangent is 3/4. The printed
// form gives method 1 the skew angle added instead (atan X + gamma0), which on the
// Malayan zone (sin gamma0 = -0.6) is the rectification with its sign reversed: 73.7
// degrees from the grid's true convergence. Method 1 shares the rectification of
// methods 2 and 3, so it shares their convergence.
double Convergence(const CProjection& p, double x) {
  if (p.m_Method == 0) return std::atan(x) - p.m_Param[kSkewAngle];
  return std::atan((4.0 * x + 3.0) / (4.0 - 3.0 * x));
}

// The skew angle's sine and cosine as the rotation between the aposphere and the skew
// grid uses them: the given pair scaled onto the unit circle. A pair published to 12
// digits (Alaska zone 1's is 1.05e-13 short of it) otherwise makes the forward and
// inverse rotations differ by that much, 0.7 micrometres a round trip, 0.7 mm in 1000.
struct SkewTrig {
  double sin = 0.0;
  double cos = 1.0;
};
SkewTrig SkewOf(const CProjection& p) {
  const double norm = std::hypot(p.m_Param[kSinSkew], p.m_Param[kCosSkew]);
  return {p.m_Param[kSinSkew] / norm, p.m_Param[kCosSkew] / norm};
}

ProjectionStatus RsoForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out);

// The set-up projects the centre itself, wherever it is.
void ProjectCentre(CProjection& p) {
  if (p.m_ScaleFactor == 0.0) {
    p.m_FalseEasting = 0.0;
    p.m_FalseNorthing = 0.0;
    return;
  }
  const GeogPoint centre = MakeGeogPoint(*p.m_Spheroid, p.m_OriginLatitude, p.m_CentralMeridian);
  // A method without a rectification writes no co-ordinates, and leaves the false
  // origin as it was; its points are flagged by their own status.
  static_cast<void>(
      RsoForward(p, centre, {&p.m_FalseEasting, &p.m_FalseNorthing, nullptr, nullptr}));
}

void InitialiseRso(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  param[kTanSkew] = param[kSinSkew] / param[kCosSkew];
  param[kSkewAngle] = std::asin(param[kSinSkew]);
  const double cos2 = p.m_CosLat0 * p.m_CosLat0;
  const double b = std::sqrt(1.0 + s.m_Ep2 * cos2 * cos2);
  param[kAposphereRatio] = b;
  const double a_prime = b * std::sqrt(p.m_Rho0 * p.m_Nu0);
  param[kAposphereRadius] = a_prime;
  const double d = a_prime / (p.m_Nu0 * p.m_CosLat0);
  const double f = d + std::sqrt(d * d - 1.0);
  param[kLogH] = std::log(f) - b * p.m_Psi0;
  const double g = std::sinh(std::log(f));
  param[kSkewOriginLongitude] = p.m_CentralMeridian - std::asin(g * param[kTanSkew]) / b;
  param[kInverseScaledRadius] = b / (a_prime * p.m_ScaleFactor);
  ProjectCentre(p);
}

// Method 1 measures the aposphere longitude from the other side and mirrors its signs in
// u and U; the two sign changes cancel exactly, so every method shares one form here.
ProjectionStatus RsoForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const auto& param = p.m_Param;
  const double k0 = p.m_ScaleFactor;
  if (!HasRectification(p.m_Method)) {
    if (out.scale != nullptr) *out.scale = param[kAposphereRadius] * k0 / (g.cos_lat * g.nu);
    return ProjectionStatus::kUnknownMethod;
  }
  // The aposphere's isometric latitude is infinite at a pole: no finite formula there.
  if (IsAtPole(g.latitude)) {
    WriteNoValue({out.easting, out.northing, out.convergence, out.scale});
    return ProjectionStatus::kPoleNotRepresentable;
  }
  const double q =
      param[kAposphereRatio] * IsometricLatitudeOfTrig(*p.m_Spheroid, g.sin_lat, g.cos_lat) +
      param[kLogH];
  const double sinh_q = std::sinh(q);
  const double cosh_q = std::cosh(q);
  // The aposphere longitude from the skew origin, the short way round the central meridian.
  const double angle =
      param[kAposphereRatio] * (WrapToHalfTurn(g.longitude - p.m_CentralMeridian) +
                                (p.m_CentralMeridian - param[kSkewOriginLongitude]));
  const double sin_angle = std::sin(angle);
  const double cos_angle = std::cos(angle);
  const double radius = param[kInverseScaledRadius];
  Skew skew;
  const SkewTrig skew_trig = SkewOf(p);
  skew.u = std::atan((skew_trig.cos * sinh_q + skew_trig.sin * sin_angle) / cos_angle) / radius;
  const double across = (skew_trig.cos * sin_angle - skew_trig.sin * sinh_q) / cosh_q;
  skew.v = 0.5 * std::log((1.0 + across) / (1.0 - across)) / radius;
  const Grid grid = Rectify(p, skew);
  if (out.easting != nullptr) *out.easting = grid.easting;
  if (out.northing != nullptr) *out.northing = grid.northing;
  if (out.convergence != nullptr) {
    *out.convergence =
        Convergence(p, (sin_angle * sinh_q + param[kTanSkew]) / (cosh_q * cos_angle));
  }
  if (out.scale != nullptr) {
    *out.scale =
        std::cos(skew.u * radius) / cos_angle * param[kAposphereRadius] * k0 / (g.cos_lat * g.nu);
  }
  return ProjectionStatus::kOk;
}

ProjectionStatus RsoInverse(const CProjection& p, double easting, double northing,
                            const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  const bool rectified = HasRectification(p.m_Method);
  // Without a rectification the point stays at the skew origin, where only the scale
  // means anything.
  const Skew skew = rectified ? Unrectify(p, easting, northing) : Skew{};
  const double radius = param[kInverseScaledRadius];
  const double along = radius * skew.u;
  const double across = radius * skew.v;
  const double sinh_v = std::sinh(across);
  const double cosh_v = std::cosh(across);
  const double sin_u = std::sin(along);
  const double cos_u = std::cos(along);
  const SkewTrig skew_trig = SkewOf(p);
  const double u_prime = (sin_u * skew_trig.cos - sinh_v * skew_trig.sin) / cosh_v;
  const double isometric =
      (0.5 * std::log((1.0 + u_prime) / (1.0 - u_prime)) - param[kLogH]) / param[kAposphereRatio];
  const LatitudeWithTrig found = LatitudeFromIsometric(s, isometric);
  const double latitude = found.latitude;
  // The aposphere longitude from the skew origin; the scale takes it unwrapped.
  const double angle = std::atan((sinh_v * skew_trig.cos + sin_u * skew_trig.sin) / cos_u);
  const double longitude =
      WrapToHalfTurn(angle / param[kAposphereRatio] + param[kSkewOriginLongitude]);
  if (rectified) {
    if (out.latitude != nullptr) *out.latitude = latitude;
    if (out.longitude != nullptr) *out.longitude = longitude;
    if (out.convergence != nullptr) {
      *out.convergence = Convergence(p, (sinh_v * sin_u + param[kTanSkew]) / (cosh_v * cos_u));
    }
  }
  if (out.scale != nullptr) {
    const double nu = CurvatureAt(s, found.sin_lat).nu;
    *out.scale =
        cos_u / std::cos(angle) * param[kAposphereRadius] * p.m_ScaleFactor / (nu * found.cos_lat);
  }
  if (!rectified) return ProjectionStatus::kUnknownMethod;
  return found.converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

}  // namespace

const ProjectionMaths kRsoMaths = {
    .initialise = InitialiseRso,
    .forward = RsoForward,
    .inverse = RsoInverse,
};

}  // namespace orvale::projection
