// Lambert conformal conic (type 6) in three forms that share one cone: one standard
// parallel (method 0), two standard parallels by the conformal factor (method 1), and
// the US state plane form by the isometric latitude with the false northing carried
// at the origin (method 2). Each set-up reduces its form to a cone constant n and a
// radius factor F (the radius of a parallel is F t^n, t the conformal factor), and the
// northing of the cone's apex; one forward and one inverse then serve all three.
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots, all derived by the set-up. Method 0: the series of the developed
// meridian distance and of the scale about the standard parallel, which a dialog shows
// (the projection itself is computed in closed form, below).
constexpr std::size_t kDevelopedSeries = 0;          // P0 ... P3
constexpr std::size_t kParallelRadius = 4;           // the cone's radius at the standard parallel
constexpr std::size_t kOneParallelCone = 5;          // the cone constant, sin phi0
constexpr std::size_t kScaleSeries = 6;              // P6 ... P8
constexpr std::size_t kOneParallelRadiusFactor = 9;  // P4 / t(phi0)^n
// Method 1 (which also sets method 0's slots at phi0, as a dialog shows them).
constexpr std::size_t kTwoParallelCone = 11;
constexpr std::size_t kTwoParallelOriginRadius = 12;
constexpr std::size_t kTwoParallelRadiusFactor = 13;  // F a
// Method 2.
constexpr std::size_t kUsaCone = 0;
constexpr std::size_t kUsaRadiusFactor = 1;
constexpr std::size_t kUsaOriginRadius = 2;
constexpr std::size_t kUsaLeastScaleRadius = 3;    // at the parallel of least scale
constexpr std::size_t kUsaLeastScaleNorthing = 4;  // of that parallel
constexpr std::size_t kUsaApexNorthing = 5;        // of the cone's apex
constexpr std::size_t kUsaLeastScaleTangent = 6;   // of that parallel's latitude

// A latitude whose cosine is below this is a pole (within 2e-7 second of arc of it):
// the apex of the cone, or the pole opposite it, which lies at infinity.
constexpr double kPoleCosine = 1e-12;
// Standard parallels closer than this are one parallel: the tangent cone.
constexpr double kTangentSeparation = 1e-12;
// The latitude of a conformal factor is iterated until a round changes it by at most
// this: the usual stop at 0.001" leaves up to e^2 times that (0.2 mm), and every
// inverse here must return its forward's point to 0.01 mm.
constexpr double kConeLatitudeTolerance = 5e-15;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What the forward and inverse need of any of the three forms.
struct Cone {
  double n = 0.0;              // cone constant; negative for a cone opening north
  double radius_factor = 0.0;  // F: a parallel's radius is F t^n (same sign as n)
  double apex_northing = 0.0;  // grid northing of the apex
};

// Parallels that give no cone (one on each side of the equator at the same distance,
// both on the equator, one at a pole) leave a cone constant or radius factor of 0 or
// not a number.
bool IsCone(const Cone& c) {
  return c.n != 0.0 && std::isfinite(c.n) && c.radius_factor != 0.0 &&
         std::isfinite(c.radius_factor) && std::isfinite(c.apex_northing);
}

// The cone constant of two standard parallels from a quotient 0/0 when they are one
// parallel: the tangent cone, n = sin(phi1).
bool AreOneParallel(const CProjection& p) {
  return std::fabs(p.m_StandardParallel1 - p.m_StandardParallel2) < kTangentSeparation;
}

void InitialiseUsaCone(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  const double a = s.m_SemiMajorAxis;
  const double phi1 = p.m_StandardParallel1;
  const double phi2 = p.m_StandardParallel2;
  const double n = AreOneParallel(p)
                       ? std::sin(phi1)
                       : std::log(ParallelFactor(s, phi1) / ParallelFactor(s, phi2)) /
                             (IsometricLatitude(s, phi2) - IsometricLatitude(s, phi1));
  const double radius_factor =
      a * ParallelFactor(s, phi1) * std::exp(n * IsometricLatitude(s, phi1)) / n;
  const double origin_radius = radius_factor * std::exp(-n * p.m_Psi0);
  const double least_scale_latitude = std::asin(n);
  const double least_scale_radius =
      radius_factor * std::exp(-n * IsometricLatitude(s, least_scale_latitude));
  auto& param = p.m_Param;
  param[kUsaCone] = n;
  param[kUsaRadiusFactor] = radius_factor;
  param[kUsaOriginRadius] = origin_radius;
  param[kUsaApexNorthing] = origin_radius + p.m_FalseNorthing;
  param[kUsaLeastScaleRadius] = least_scale_radius;
  param[kUsaLeastScaleTangent] = std::tan(least_scale_latitude);
  param[kUsaLeastScaleNorthing] = param[kUsaApexNorthing] - least_scale_radius;
  p.m_ScaleFactor =
      param[kUsaLeastScaleTangent] * std::sqrt(1.0 - s.m_E2 * n * n) * least_scale_radius / a;
}

// The scale at phi0 of the cone of constant sin(phi0) through phi1; at the equator
// that is 0/0 and takes its limit m(phi1).
double TwoParallelScaleAtOrigin(const CProjection& p, double parallel_factor1,
                                double conformal_factor1) {
  const CSpheroid& s = *p.m_Spheroid;
  if (p.m_CosLat0 == 0.0) return 1.0;
  const double sine = p.m_SinLat0;
  const double a = s.m_SemiMajorAxis;
  if (sine == 0.0) return parallel_factor1 * a / p.m_Nu0;
  return std::pow(ConformalFactor(s, p.m_OriginLatitude), sine) *
         (a * parallel_factor1 / (std::pow(conformal_factor1, sine) * sine)) * sine /
         (p.m_CosLat0 * p.m_Nu0);
}

// The values every projection derives from phi0, again: the standard parallels (and
// the one-parallel form's phi0) can change without the full set-up.
void RefreshOriginValues(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  p.m_SinLat0 = std::sin(p.m_OriginLatitude);
  p.m_CosLat0 = std::cos(p.m_OriginLatitude);
  p.m_TanLat0 = p.m_CosLat0 == 0.0 ? 0.0 : p.m_SinLat0 / p.m_CosLat0;
  const Curvature curvature = CurvatureAt(s, p.m_SinLat0);
  p.m_Nu0 = curvature.nu;
  p.m_Rho0 = curvature.rho;
  p.m_M0 = MeridianDistance(s, p.m_OriginLatitude);
  p.m_Psi0 = IsometricLatitude(s, p.m_OriginLatitude);
}

void InitialiseTwoParallelCone(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  const double a = s.m_SemiMajorAxis;
  const double m1 = ParallelFactor(s, p.m_StandardParallel1);
  const double m2 = ParallelFactor(s, p.m_StandardParallel2);
  const double t1 = ConformalFactor(s, p.m_StandardParallel1);
  const double t2 = ConformalFactor(s, p.m_StandardParallel2);
  const double n = AreOneParallel(p)
                       ? std::sin(p.m_StandardParallel1)
                       : (std::log(m1) - std::log(m2)) / (std::log(t1) - std::log(t2));
  const double radius_factor = m1 * a / (n * std::pow(t1, n));
  p.m_Param[kTwoParallelCone] = n;
  p.m_Param[kTwoParallelRadiusFactor] = radius_factor;
  p.m_Param[kTwoParallelOriginRadius] =
      radius_factor * std::pow(ConformalFactor(s, p.m_OriginLatitude), n);
  RefreshOriginValues(p);
  p.m_ScaleFactor = TwoParallelScaleAtOrigin(p, m1, t1);
}

// The one-parallel form has a cone only for a standard parallel off the equator and
// off the poles.
bool HasOneParallelCone(const CProjection& p) {
  return p.m_Nu0 != 0.0 && p.m_TanLat0 != 0.0 && std::fabs(p.m_CosLat0) >= kPoleCosine &&
         std::isfinite(p.m_TanLat0);
}

void InitialiseOneParallelSeries(CProjection& p) {
  RefreshOriginValues(p);
  if (!HasOneParallelCone(p)) return;
  const double nu0 = p.m_Nu0;
  const double tan0 = p.m_TanLat0;
  const double rho0 = p.m_Rho0;
  const double ep2 = p.m_Spheroid->m_Ep2;
  const double cos2 = p.m_CosLat0 * p.m_CosLat0;
  const double tan2 = tan0 * tan0;
  auto& param = p.m_Param;
  param[kDevelopedSeries] = 1.0 / (6.0 * rho0 * nu0);
  param[kDevelopedSeries + 1] = (1.0 - 4.0 * ep2 * cos2) * tan0 / (24.0 * rho0 * nu0 * nu0);
  param[kDevelopedSeries + 2] =
      (5.0 + 3.0 * tan2 - 3.0 * ep2 * (1.0 + cos2)) / (120.0 * rho0 * rho0 * nu0 * nu0);
  param[kDevelopedSeries + 3] = (7.0 + 4.0 * tan2) * tan0 / (240.0 * rho0 * rho0 * nu0 * nu0 * nu0);
  param[kParallelRadius] = p.m_ScaleFactor * nu0 / tan0;
  param[kOneParallelCone] = p.m_SinLat0;
  // The scale grows with the square of the distance m from the standard parallel as
  // k0 (1 + m^2 / (2 rho0 nu0)): the printed 1/(18 rho0 nu0) is nine times too small.
  param[kScaleSeries] = 1.0 / (2.0 * rho0 * nu0);
  param[kScaleSeries + 1] = tan0 / (6.0 * rho0 * nu0 * nu0);
  param[kScaleSeries + 2] = tan0 / (144.0 * rho0 * rho0 * nu0 * nu0 * nu0);
  param[kOneParallelRadiusFactor] =
      param[kParallelRadius] /
      std::pow(ConformalFactor(*p.m_Spheroid, p.m_OriginLatitude), param[kOneParallelCone]);
}

void InitialiseTwoParallels(CProjection& p) {
  InitialiseTwoParallelCone(p);
  InitialiseOneParallelSeries(p);
}

// The one-parallel form is computed as EPSG's closed Lambert 1SP, not by the printed
// series in the meridian distance from the standard parallel: that series, truncated
// at m^5 and reverted to m^5 for the inverse, is 0.46 m off at 3.5 degrees from the
// origin and 172 m at 6 (forward 4.8 m). The cone is the same: n = sin(phi0) and the
// radius k0 nu0 / tan(phi0) at phi0.
Cone OneParallelCone(const CProjection& p) {
  if (!HasOneParallelCone(p)) return {};
  return {p.m_Param[kOneParallelCone], p.m_Param[kOneParallelRadiusFactor],
          p.m_Param[kParallelRadius] + p.m_FalseNorthing};
}

Cone TwoParallelCone(const CProjection& p) {
  const auto& param = p.m_Param;
  return {param[kTwoParallelCone], param[kTwoParallelRadiusFactor],
          param[kTwoParallelOriginRadius] + p.m_FalseNorthing};
}

// The US form's radius P1 exp(-n psi) is P1 t^n, as psi = -ln t.
Cone UsaCone(const CProjection& p) {
  const auto& param = p.m_Param;
  return {param[kUsaCone], param[kUsaRadiusFactor], param[kUsaApexNorthing]};
}

// A point without a result gets no numbers: every output asked for is not a number.
ProjectionStatus NoResult(ProjectionStatus status, const GridOutputs& out) {
  for (double* output : {out.easting, out.northing, out.convergence, out.scale}) {
    if (output != nullptr) *output = kNaN;
  }
  return status;
}

ProjectionStatus NoResult(ProjectionStatus status, const GeogOutputs& out) {
  for (double* output : {out.latitude, out.longitude, out.convergence, out.scale}) {
    if (output != nullptr) *output = kNaN;
  }
  return status;
}

// Point scale of the cone at a latitude: k = r n / (a m(phi)); a pole (the apex,
// where it grows without bound) has none.
double ConeScale(const CSpheroid& s, double n, double r, double sin_lat, double cos_lat) {
  if (std::fabs(cos_lat) < kPoleCosine) return kNaN;
  return r * n * std::sqrt(1.0 - s.m_E2 * sin_lat * sin_lat) / (s.m_SemiMajorAxis * cos_lat);
}

ProjectionStatus ConeForward(const CProjection& p, const Cone& c, const GeogPoint& g,
                             const GridOutputs& out) {
  const ProjectionStatus input = CheckGeogInput(g.latitude, g.longitude);
  if (input != ProjectionStatus::kOk) return NoResult(input, out);
  if (!IsCone(c)) return NoResult(ProjectionStatus::kInvalidProjection, out);
  // The pole away from the apex lies at infinity on the cone.
  if (std::fabs(g.cos_lat) < kPoleCosine && g.latitude * c.n < 0.0) {
    return NoResult(ProjectionStatus::kPoleNotRepresentable, out);
  }
  const CSpheroid& s = *p.m_Spheroid;
  const double t = ConformalFactor(s, g.latitude, g.sin_lat, g.cos_lat);
  const double r = c.radius_factor * std::pow(t, c.n);
  const double theta = (g.longitude - p.m_CentralMeridian) * c.n;
  if (out.easting != nullptr) *out.easting = r * std::sin(theta) + p.m_FalseEasting;
  if (out.northing != nullptr) *out.northing = c.apex_northing - r * std::cos(theta);
  if (out.convergence != nullptr) *out.convergence = theta;
  if (out.scale != nullptr) *out.scale = ConeScale(s, c.n, r, g.sin_lat, g.cos_lat);
  return ProjectionStatus::kOk;
}

// The latitude of a conformal factor t, iterated in the latitude itself: for spheroids
// too flat for the quicker form below. Bounded at the usual 100 rounds.
LatitudeWithTrig LatitudeFromConformalFactorInLatitude(const CSpheroid& s, double t) {
  double latitude = kHalfPi - 2.0 * std::atan(t);
  for (int round = 0; round < kIterationLimit; ++round) {
    const double e_sin = s.m_E * std::sin(latitude);
    const double next =
        kHalfPi - 2.0 * std::atan(t * std::pow((1.0 - e_sin) / (1.0 + e_sin), s.m_HalfE));
    const double change = std::fabs(next - latitude);
    latitude = next;
    if (change <= kConeLatitudeTolerance) return {latitude, 0.0, 1.0, true};
  }
  return {latitude, 0.0, 1.0, false};
}

// The same iteration in u = tan(pi/4 - latitude/2), the quantity its formula is built
// on: latitude = pi/2 - 2 atan u, so sin(latitude) = (1 - u^2) / (1 + u^2) and a round's
// change is 2 atan((u - u') / (1 + u u')). Each round then costs one arc tangent
// instead of a sine, a power and an arc tangent.
LatitudeWithTrig LatitudeFromConformalFactor(const CSpheroid& s, double t) {
  // The iteration in the latitude also takes what u^2 would overflow on (a position
  // 1e150 times the cone's radius away), and anything not a number.
  if (!(s.m_E <= kSeriesEccentricity) || !(t >= 0.0 && t <= 1e150)) {
    return LatitudeFromConformalFactorInLatitude(s, t);
  }
  double u = t;
  bool converged = false;
  for (int round = 0; round < kIterationLimit && !converged; ++round) {
    const double sine = (1.0 - u * u) / (1.0 + u * u);
    const double next = t * EccentricityPower(s.m_E, s.m_E * sine);
    const double change = 2.0 * std::fabs(std::atan((u - next) / (1.0 + u * next)));
    u = next;
    converged = change <= kConeLatitudeTolerance;
  }
  return {kHalfPi - 2.0 * std::atan(u), 0.0, 1.0, converged};
}

// The inverse of ConeForward. For a cone with n < 0 the radius and the apex offsets
// change sign (EPSG's rule for the southern hemisphere), so that the angle and the
// radius are those of the forward.
ProjectionStatus ConeInverse(const CProjection& p, const Cone& c, double easting, double northing,
                             const GeogOutputs& out) {
  const ProjectionStatus input = CheckGridInput(easting, northing);
  if (input != ProjectionStatus::kOk) return NoResult(input, out);
  if (!IsCone(c)) return NoResult(ProjectionStatus::kInvalidProjection, out);
  const double sign = c.n < 0.0 ? -1.0 : 1.0;
  const double x = easting - p.m_FalseEasting;
  const double dy = c.apex_northing - northing;
  const double theta = std::atan2(sign * x, sign * dy);
  const double r = sign * std::hypot(x, dy);
  if (out.longitude != nullptr) *out.longitude = theta / c.n + p.m_CentralMeridian;
  if (out.convergence != nullptr) *out.convergence = theta;
  if (out.latitude == nullptr && out.scale == nullptr) return ProjectionStatus::kOk;
  const CSpheroid& s = *p.m_Spheroid;
  const double t = std::pow(r / c.radius_factor, 1.0 / c.n);
  const LatitudeWithTrig found = LatitudeFromConformalFactor(s, t);
  if (out.latitude != nullptr) *out.latitude = found.latitude;
  if (out.scale != nullptr) {
    *out.scale = ConeScale(s, c.n, r, std::sin(found.latitude), std::cos(found.latitude));
  }
  return found.converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

// The one-parallel form gives its northing only with its easting (the printed
// series formed the northing from the easting); the closed form keeps that rule.
ProjectionStatus OneParallelForward(const CProjection& p, const GeogPoint& g,
                                    const GridOutputs& out) {
  GridOutputs asked = out;
  if (out.easting == nullptr) asked.northing = nullptr;
  return ConeForward(p, OneParallelCone(p), g, asked);
}

ProjectionStatus TwoParallelForward(const CProjection& p, const GeogPoint& g,
                                    const GridOutputs& out) {
  return ConeForward(p, TwoParallelCone(p), g, out);
}

ProjectionStatus UsaForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  return ConeForward(p, UsaCone(p), g, out);
}

ProjectionStatus OneParallelInverse(const CProjection& p, double easting, double northing,
                                    const GeogOutputs& out) {
  return ConeInverse(p, OneParallelCone(p), easting, northing, out);
}

ProjectionStatus TwoParallelInverse(const CProjection& p, double easting, double northing,
                                    const GeogOutputs& out) {
  return ConeInverse(p, TwoParallelCone(p), easting, northing, out);
}

ProjectionStatus UsaInverse(const CProjection& p, double easting, double northing,
                            const GeogOutputs& out) {
  return ConeInverse(p, UsaCone(p), easting, northing, out);
}

}  // namespace

const ProjectionMaths kLambertOneParallelMaths = {
    .initialise = InitialiseOneParallelSeries,
    .forward = OneParallelForward,
    .inverse = OneParallelInverse,
};

const ProjectionMaths kLambertTwoParallelMaths = {
    .initialise = InitialiseTwoParallels,
    .forward = TwoParallelForward,
    .inverse = TwoParallelInverse,
};

const ProjectionMaths kLambertUsaMaths = {
    .initialise = InitialiseUsaCone,
    .forward = UsaForward,
    .inverse = UsaInverse,
};

}  // namespace orvale::projection
