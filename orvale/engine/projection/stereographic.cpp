// Stereographic projections (type 9): the double projection through the conformal
// sphere for the oblique and equatorial methods, and the polar projection in its three
// variants (A: at the pole with a given scale; B and C: true scale on a standard
// parallel, taken from the first or the second parallel).

#include <cmath>
#include <cstddef>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots shared by both forms.
constexpr std::size_t kNorthFlag = 0;  // 1 north, 0 south
// Slots of the double projection.
constexpr std::size_t kSphereDiameter = 1;        // 2 R k0, R = sqrt(rho0 nu0)
constexpr std::size_t kLongitudeRatio = 2;        // n, sphere longitude per spheroid longitude
constexpr std::size_t kConformalConstant = 3;     // c
constexpr std::size_t kSphereOriginLatitude = 4;  // chi0
constexpr std::size_t kSinSphereOriginLatitude = 5;
constexpr std::size_t kCosSphereOriginLatitude = 6;
// Slots of the polar projection.
constexpr std::size_t kPolarRadiusFactor = 1;         // 2 a k0 / C_e
constexpr std::size_t kLatitudeSeries = 7;            // P7..P10, conformal to geodetic latitude
constexpr std::size_t kParallelConformalFactor = 11;  // tc
constexpr std::size_t kParallelFactor = 12;           // mc
constexpr std::size_t kFalseOriginNorthing = 13;      // a mc, variant C only

constexpr double kQuarterPi = (std::numbers::pi / 4);

bool IsNorth(const CProjection& p) {
  return p.m_Param[kNorthFlag] == 1.0;
}

double Flag(bool value) {
  return value ? 1.0 : 0.0;
}

// A pole given in degrees arrives a few 1e-14 rad short of pi/2 (the degree factor is
// truncated); it must still select variant A rather than a parallel at the pole, which
// would silently replace the given scale factor by 1.
bool IsPole(double latitude) {
  return std::fabs(std::fabs(latitude) - kHalfPi) < kIterationTolerance;
}

// ((1 + e sin)/(1 - e sin))^(e/2)
double EccentricityTerm(const CSpheroid& s, double sin_latitude) {
  const double e_sin = s.m_E * sin_latitude;
  return std::pow((1.0 + e_sin) / (1.0 - e_sin), s.m_HalfE);
}

// t measured from the pole of the projection's hemisphere.
double PolarConformalFactor(const CSpheroid& s, double latitude, double sin_latitude, bool north) {
  const double term = EccentricityTerm(s, sin_latitude);
  if (north) return std::tan(kQuarterPi - latitude / 2.0) * term;
  return std::tan(kQuarterPi + latitude / 2.0) / term;
}

void InitialiseDoubleProjection(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  const double sin0 = p.m_SinLat0;
  const double cos2 = p.m_CosLat0 * p.m_CosLat0;
  param[kNorthFlag] = Flag(p.m_OriginLatitude >= 0.0);
  const double radius = std::sqrt(p.m_Rho0 * p.m_Nu0);
  param[kSphereDiameter] = 2.0 * radius * p.m_ScaleFactor;
  const double n = std::sqrt(1.0 + s.m_E2 * cos2 * cos2 / s.m_OneMinusE2);
  param[kLongitudeRatio] = n;
  const double s1 = (1.0 + sin0) / (1.0 - sin0);
  const double s2 = (1.0 - s.m_E * sin0) / (1.0 + s.m_E * sin0);
  const double w1 = std::pow(s1 * std::pow(s2, s.m_E), n);
  const double sin_chi1 = (w1 - 1.0) / (w1 + 1.0);
  const double c = (n + sin0) * (1.0 - sin_chi1) / ((n - sin0) * (1.0 + sin_chi1));
  param[kConformalConstant] = c;
  const double w2 = c * w1;
  const double chi0 = std::asin((w2 - 1.0) / (w2 + 1.0));
  param[kSphereOriginLatitude] = chi0;
  param[kSinSphereOriginLatitude] = std::sin(chi0);
  param[kCosSphereOriginLatitude] = std::cos(chi0);
}

// Variant A with nothing to say where: the north pole, keeping the given k0.
void BecomeNorthPolar(CProjection& p) {
  p.m_OriginLatitude = kHalfPi;
  p.m_SinLat0 = 1.0;
  p.m_CosLat0 = 0.0;
  p.m_TanLat0 = 0.0;
  const Curvature pole = CurvatureAt(*p.m_Spheroid, 1.0);
  p.m_Nu0 = pole.nu;
  p.m_Rho0 = pole.rho;
  p.m_Param[kNorthFlag] = 1.0;
}

// Variants B and C: the scale factor becomes the one that makes the standard parallel true.
void UseStandardParallel(CProjection& p, double parallel, bool false_origin_on_parallel) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  const bool north = parallel >= 0.0;
  param[kNorthFlag] = Flag(north);
  const double tc = PolarConformalFactor(s, parallel, std::sin(parallel), north);
  const double mc = ParallelFactor(s, parallel);
  param[kParallelConformalFactor] = tc;
  param[kParallelFactor] = mc;
  if (false_origin_on_parallel) param[kFalseOriginNorthing] = mc * s.m_SemiMajorAxis;
  p.m_ScaleFactor = mc * s.m_PolarK / (2.0 * tc);
}

void InitialisePolar(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  param[kParallelConformalFactor] = 0.0;
  param[kParallelFactor] = 0.0;
  param[kFalseOriginNorthing] = 0.0;
  const double lat0 = p.m_OriginLatitude;
  if (IsPole(lat0)) {
    param[kNorthFlag] = Flag(lat0 >= 0.0);
  } else if (lat0 != 0.0) {
    UseStandardParallel(p, lat0, false);
  } else if (p.m_StandardParallel1 != 0.0) {
    UseStandardParallel(p, p.m_StandardParallel1, false);
  } else if (p.m_StandardParallel2 != 0.0) {
    UseStandardParallel(p, p.m_StandardParallel2, true);
  } else {
    BecomeNorthPolar(p);
  }
  const double e2 = s.m_E2;
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double e8 = e6 * e2;
  param[kLatitudeSeries] = e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0;
  param[kLatitudeSeries + 1] = 7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0;
  param[kLatitudeSeries + 2] = 7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0;
  param[kLatitudeSeries + 3] = 4279.0 * e8 / 161280.0;
  param[kPolarRadiusFactor] = 2.0 * s.m_SemiMajorAxis * p.m_ScaleFactor / s.m_PolarK;
}

ProjectionStatus DoubleProjectionForward(const CProjection& p, const GeogPoint& g,
                                         const GridOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  const double sphere_longitude = param[kLongitudeRatio] * (g.longitude - p.m_CentralMeridian);
  const double e_sin = s.m_E * g.sin_lat;
  const double w =
      param[kConformalConstant] * std::pow(std::pow((1.0 - e_sin) / (1.0 + e_sin), s.m_E) *
                                               (1.0 + g.sin_lat) / (1.0 - g.sin_lat),
                                           param[kLongitudeRatio]);
  const double chi = std::asin((w - 1.0) / (w + 1.0));
  const double sin_chi = std::sin(chi);
  const double cos_chi = std::cos(chi);
  const double sin0 = param[kSinSphereOriginLatitude];
  const double cos0 = param[kCosSphereOriginLatitude];
  const double b = 1.0 + sin_chi * sin0 + cos_chi * cos0 * std::cos(sphere_longitude);
  const double diameter = param[kSphereDiameter];
  if (out.easting != nullptr) {
    *out.easting = p.m_FalseEasting + diameter * cos_chi * std::sin(sphere_longitude) / b;
  }
  if (out.northing != nullptr) {
    *out.northing = p.m_FalseNorthing +
                    diameter * (sin_chi * cos0 - cos_chi * sin0 * std::cos(sphere_longitude)) / b;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
  return ProjectionStatus::kOk;
}

ProjectionStatus PolarForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const auto& param = p.m_Param;
  const bool north = IsNorth(p);
  const double t = PolarConformalFactor(*p.m_Spheroid, g.latitude, g.sin_lat, north);
  const double r = p.m_StandardParallel2 == 0.0
                       ? t * param[kPolarRadiusFactor]
                       : t * param[kFalseOriginNorthing] / param[kParallelConformalFactor];
  const double delta_longitude = g.longitude - p.m_CentralMeridian;
  if (out.easting != nullptr) *out.easting = p.m_FalseEasting + r * std::sin(delta_longitude);
  if (out.northing != nullptr) {
    const double origin = param[kFalseOriginNorthing];
    const double along = r * std::cos(delta_longitude);
    *out.northing = north ? p.m_FalseNorthing + origin - along : p.m_FalseNorthing - origin + along;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  return ProjectionStatus::kOk;
}

// Geodetic latitude of a conformal-sphere isometric latitude. Unbounded in principle;
// stops after the usual 100 rounds with the last estimate, not converged.
LatitudeWithTrig LatitudeOnSpheroid(const CSpheroid& s, double isometric) {
  double latitude = 2.0 * std::atan(std::exp(isometric)) - kHalfPi;
  for (int round = 0; round < kIterationLimit; ++round) {
    const double sin_lat = std::sin(latitude);
    const double e_sin = s.m_E * sin_lat;
    const double residual = std::log(std::tan(latitude / 2.0 + kQuarterPi) *
                                     std::pow((1.0 - e_sin) / (1.0 + e_sin), s.m_HalfE)) -
                            isometric;
    const double step =
        residual * std::cos(latitude) * (1.0 - s.m_E2 * sin_lat * sin_lat) / s.m_OneMinusE2;
    latitude -= step;
    if (std::fabs(step) <= kIterationTolerance) return {latitude, 0.0, 1.0, true};
  }
  return {latitude, 0.0, 1.0, false};
}

ProjectionStatus DoubleProjectionInverse(const CProjection& p, double x, double y,
                                         const GeogOutputs& out) {
  const auto& param = p.m_Param;
  const double diameter = param[kSphereDiameter];
  const double chi0 = param[kSphereOriginLatitude];
  const double g = diameter * std::tan(kQuarterPi - chi0 / 2.0);
  const double h = 2.0 * diameter * std::tan(chi0) + g;
  const double i = std::atan(x / (h + y));
  const double j = std::atan(x / (g - y)) - i;
  const double chi = chi0 + 2.0 * std::atan((y - x * std::tan(j / 2.0)) / diameter);
  const double sin_chi = std::sin(chi);
  *out.longitude = (j + 2.0 * i) / param[kLongitudeRatio] + p.m_CentralMeridian;
  const double isometric =
      0.5 * std::log((1.0 + sin_chi) / (param[kConformalConstant] * (1.0 - sin_chi))) /
      param[kLongitudeRatio];
  const LatitudeWithTrig found = LatitudeOnSpheroid(*p.m_Spheroid, isometric);
  *out.latitude = found.latitude;
  return found.converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

ProjectionStatus PolarInverse(const CProjection& p, double x, double y, const GeogOutputs& out) {
  const auto& param = p.m_Param;
  const bool north = IsNorth(p);
  const double from_pole =
      north ? y - param[kFalseOriginNorthing] : y + param[kFalseOriginNorthing];
  const double r = std::sqrt(x * x + from_pole * from_pole);
  const double t = p.m_StandardParallel2 == 0.0
                       ? r / param[kPolarRadiusFactor]
                       : r * param[kParallelConformalFactor] / param[kFalseOriginNorthing];
  const double chi = north ? kHalfPi - 2.0 * std::atan(t) : 2.0 * std::atan(t) - kHalfPi;
  *out.latitude = chi + param[kLatitudeSeries] * std::sin(2.0 * chi) +
                  param[kLatitudeSeries + 1] * std::sin(4.0 * chi) +
                  param[kLatitudeSeries + 2] * std::sin(6.0 * chi) +
                  param[kLatitudeSeries + 3] * std::sin(8.0 * chi);
  *out.longitude =
      p.m_CentralMeridian + (north ? std::atan2(x, -from_pole) : std::atan2(x, from_pole));
  return ProjectionStatus::kOk;
}

// Both methods invert only with both outputs given, and give no convergence.
template <ProjectionStatus (*Inverse)(const CProjection&, double, double, const GeogOutputs&)>
ProjectionStatus FromGrid(const CProjection& p, double easting, double northing,
                          const GeogOutputs& out) {
  if (out.latitude == nullptr || out.longitude == nullptr) return ProjectionStatus::kOk;
  const ProjectionStatus status =
      Inverse(p, easting - p.m_FalseEasting, northing - p.m_FalseNorthing, out);
  if (out.convergence != nullptr) *out.convergence = 0.0;
  return status;
}

}  // namespace

const ProjectionMaths kDoubleStereographicMaths = {
    .initialise = InitialiseDoubleProjection,
    .forward = DoubleProjectionForward,
    .inverse = FromGrid<DoubleProjectionInverse>,
};

const ProjectionMaths kPolarStereographicMaths = {
    .initialise = InitialisePolar,
    .forward = PolarForward,
    .inverse = FromGrid<PolarInverse>,
};

}  // namespace orvale::projection
