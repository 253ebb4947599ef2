// State Plane "Lambert Tables" (method 1) and "TM Tables" (method 2): the NAD 27
// plane-co-ordinate tables of the USC&GS, computed the way the printed tables were,
// in US survey feet and seconds of arc on the zone constants held in the parameter
// slots (named below as the tables name them).
// The series carry the Clarke 1866 figures as fixed numbers, whatever spheroid the
// record refers to.
//
// Longitudes are east positive like everywhere else in the engine, so US points
// have negative longitudes. The Lambert forward reads only |longitude| (a west
// longitude given as positive projects the same); the TM forward adds the signed
// longitude to the west-positive central meridian P1, so it needs the negative one.
// Both inverses return negative (east-positive) longitudes.

#include <cmath>
#include <cstddef>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/engine/projection/internal/projection_methods.h"

namespace orvale::projection {
namespace {

// Clarke 1866 in the tables' own digits.
constexpr double kClarkeE2 = 0.006768658;
constexpr double kClarkeEp2 = 0.0068147849;
constexpr double kClarkeAFeet = 20925832.16;

// Radians per second of arc, in the digits the Lambert set-up stores in P16.
constexpr double kRadiansPerSecond = 4.84813681109536e-06;
// Radians per second as the TM convergence series carries the factor.
constexpr double kConvergenceRadiansPerSecond = 4.848136811095278e-6;

// Feet of meridian per second of rectifying latitude, and its inverse.
constexpr double kFeetPerRectifyingSecond = 101.2794065;
constexpr double kRectifyingSecondsPerFoot = 0.009873675553;

constexpr double kFeetPerMetreAtSetUp = 3.28083333;

// TM-table series constants that do not depend on the zone.
constexpr double kTmLatitudeTerm = 1.2374292282040178e-14;
constexpr double kTmLongitudeCubic = 3.9174e-12;
constexpr double kTmHCubic = 4.0831e-15;
constexpr double kTmHPerSecond = 30.92241724;
constexpr double kTmScaleTerm = 881.749162;
constexpr double kTmConvergenceTerm = 1.9587;

// Seconds of rectifying latitude lost from the geodetic latitude, as the tables
// tabulate it: sin cos (1052.893882 - (4.483344 - 0.02352 cos^2) cos^2).
double RectifyingReduction(double sin_lat, double cos_lat) {
  const double c2 = cos_lat * cos_lat;
  return (1052.893882 - (4.483344 - 0.02352 * c2) * c2) * sin_lat * cos_lat;
}

// Seconds to add to a rectifying latitude to reach the geodetic one.
double FootpointCorrection(double latitude) {
  const double s = std::sin(latitude);
  const double c = std::cos(latitude);
  const double c2 = c * c;
  return s * c * (1047.54671 + (6.19276 + 0.050912 * c2) * c2);
}

// Parameter slots shared by both table methods: the zone's constants as published.
constexpr std::size_t kEastingConstant = 0;         // feet
constexpr std::size_t kCentralMeridianSeconds = 1;  // west positive
constexpr std::size_t kCentralScale = 4;
// "Lambert Tables": the rest of the zone's constants, then what the set-up derives.
constexpr std::size_t kCentralRadius = 2;  // feet, of the central parallel
constexpr std::size_t kApexNorthing = 3;   // feet, of the cone's apex
constexpr std::size_t kSinCentralParallel = 5;
constexpr std::size_t kCentralParallelMinutes = 6;  // whole minutes from 0 degrees
constexpr std::size_t kCentralParallelSeconds = 7;
constexpr std::size_t kRadiusSeries = 8;  // P8 ... P10
constexpr std::size_t kCentralParallelInSeconds = 11;
constexpr std::size_t kMeridianConeAngle = 12;  // the cone angle of longitude 0
constexpr std::size_t kRadiusCubic = 13;
constexpr std::size_t kSecondsPartAngle = 14;  // of the central parallel, radians
constexpr std::size_t kMinutesPartAngle = 15;
constexpr std::size_t kRadiansPerSecondSlot = 16;
// "TM Tables": the rest of the zone's constants, then what the set-up derives.
constexpr std::size_t kOriginMinutes = 2;  // of the origin's rectifying latitude
constexpr std::size_t kOriginSeconds = 3;
constexpr std::size_t kCubicConstant = 5;
constexpr std::size_t kFeetScale = 6;
constexpr std::size_t kEastingCubic = 7;
constexpr std::size_t kFeetPerRectifyingSecondScaled = 8;
constexpr std::size_t kOriginInSeconds = 9;
constexpr std::size_t kScaleTerm = 10;
constexpr std::size_t kLatitudeTerm = 11;
constexpr std::size_t kLongitudeCubic = 12;
constexpr std::size_t kHCubic = 13;
constexpr std::size_t kInverseEastingCubic = 14;

double Cube(double x) {
  return x * x * x;
}

void InitialiseLambertTables(CProjection& p) {
  auto& P = p.m_Param;
  p.m_OriginLatitude = std::asin(P[kSinCentralParallel]);
  p.m_SinLat0 = P[kSinCentralParallel];
  p.m_CentralMeridian = (P[kCentralMeridianSeconds] / kSecondsPerDegree) * kRadiansPerDegree;
  // Feet, for display: the series themselves read P0 ... P3.
  p.m_FalseEasting = P[kEastingConstant];
  p.m_FalseNorthing = P[kApexNorthing] - P[kCentralRadius];
  p.m_ScaleFactor = P[kCentralScale];
  P[kCentralParallelInSeconds] = 60.0 * P[kCentralParallelMinutes] + P[kCentralParallelSeconds];
  P[kMeridianConeAngle] = P[kCentralMeridianSeconds] * P[kSinCentralParallel] * kRadiansPerSecond;
  P[kRadiusCubic] = P[kRadiusSeries + 2] * 1e-08;
  P[kSecondsPartAngle] = (P[kCentralParallelSeconds] + 36000.0) * kRadiansPerSecond;
  P[kMinutesPartAngle] = (P[kCentralParallelMinutes] - 600.0) * std::numbers::pi / 10800.0;
  P[kRadiansPerSecondSlot] = kRadiansPerSecond;
}

void InitialiseTmTables(CProjection& p) {
  auto& P = p.m_Param;
  p.m_ScaleFactor = P[kCentralScale];
  P[kFeetScale] = kFeetPerMetreAtSetUp * P[kCentralScale];
  P[kEastingCubic] = Cube(kFeetPerMetreAtSetUp * P[kCentralScale] / 100000.0) * P[kCubicConstant];
  P[kFeetPerRectifyingSecondScaled] = kFeetPerRectifyingSecond * P[kCentralScale];
  P[kOriginInSeconds] = 60.0 * P[kOriginMinutes] + P[kOriginSeconds];
  P[kScaleTerm] = 1.0 / (kTmScaleTerm * P[kCentralScale] * P[kCentralScale] * 1e12);
  P[kLatitudeTerm] = kTmLatitudeTerm;
  P[kLongitudeCubic] = kTmLongitudeCubic;
  P[kHCubic] = kTmHCubic;
  P[kInverseEastingCubic] = P[kCubicConstant] / 1e+15;
}

// Radius of the parallel at `s` feet of meridian south of the central parallel.
double LambertRadius(const CProjection& p, double s) {
  const auto& P = p.m_Param;
  return P[kCentralRadius] +
         P[kCentralScale] * s *
             (1.0 + (P[kRadiusSeries] - (P[kRadiusCubic] * s + P[kRadiusSeries + 1]) * s * 1e-08) *
                        s * s * 1e-16);
}

ProjectionStatus LambertTablesForward(const CProjection& p, const GeogPoint& g,
                                      const GridOutputs& out) {
  const auto& P = p.m_Param;
  const double latitude_seconds = g.latitude / P[kRadiansPerSecondSlot];
  const double s = kFeetPerRectifyingSecond * ((P[kCentralParallelInSeconds] - latitude_seconds) +
                                               RectifyingReduction(g.sin_lat, g.cos_lat));
  const double theta = P[kMeridianConeAngle] - std::fabs(g.longitude) * P[kSinCentralParallel];
  const double r = LambertRadius(p, s);
  const double half_sin = std::sin(theta / 2.0);
  if (out.easting)
    *out.easting = (r * std::sin(theta) + P[kEastingConstant]) * kMetresPerUsSurveyFoot;
  if (out.northing) {
    *out.northing = (2.0 * r * half_sin * half_sin + P[kApexNorthing] - r) * kMetresPerUsSurveyFoot;
  }
  if (out.convergence) *out.convergence = theta;
  if (out.scale) {
    // This forward scale has never carried the square root that the inverse's has.
    *out.scale = (1.0 - kClarkeE2 * g.sin_lat * g.sin_lat) * r * P[kSinCentralParallel] /
                 (g.cos_lat * kClarkeAFeet);
  }
  return ProjectionStatus::kOk;
}

ProjectionStatus LambertTablesInverse(const CProjection& p, double easting, double northing,
                                      const GeogOutputs& out) {
  const auto& P = p.m_Param;
  const double xf = kUsSurveyFeetPerMetre * easting;
  const double yf = kUsSurveyFeetPerMetre * northing;
  const double dy = P[kApexNorthing] - yf;
  const double theta = std::atan((xf - P[kEastingConstant]) / dy);
  if (out.longitude)
    *out.longitude =
        theta / P[kSinCentralParallel] - P[kRadiansPerSecondSlot] * P[kCentralMeridianSeconds];
  if (out.convergence) *out.convergence = theta;
  if (!out.latitude) return ProjectionStatus::kOk;
  const double r = dy / std::cos(theta);
  const double half_sin = std::sin(theta / 2.0);
  const double s0 = (2.0 * r * half_sin * half_sin + dy - P[kCentralRadius]) / P[kCentralScale];
  double s = s0;
  for (int round = 0; round < 3; ++round) {
    s = s0 / ((P[kRadiusSeries] - (P[kRadiusCubic] * s + P[kRadiusSeries + 1]) * s * 1e-8) * s * s *
                  1e-16 +
              1.0);
  }
  const double rectifying = P[kSecondsPartAngle] + P[kMinutesPartAngle] -
                            kRectifyingSecondsPerFoot * s * P[kRadiansPerSecondSlot];
  const double latitude = rectifying + FootpointCorrection(rectifying) * P[kRadiansPerSecondSlot];
  *out.latitude = latitude;
  if (out.scale) {
    const double sin_lat = std::sin(latitude);
    *out.scale = std::sqrt(1.0 - kClarkeE2 * sin_lat * sin_lat) * r * P[kSinCentralParallel] /
                 (std::cos(latitude) * kClarkeAFeet);
  }
  return ProjectionStatus::kOk;
}

// Convergence of the TM tables for `l` seconds of longitude east of the central
// meridian at the mean latitude `mean`.
double TmConvergence(double l, double mean) {
  const double s = std::sin(mean);
  const double c = std::cos(mean);
  return (l * kTmConvergenceTerm * l * s * c * c / 1e12 + s) * l * kConvergenceRadiansPerSecond;
}

double TmScale(const CProjection& p, double cos_lat, double x_feet) {
  const double stretched = (1.0 + kClarkeEp2 * cos_lat * cos_lat) * x_feet;
  return p.m_ScaleFactor * (1.0 + p.m_Param[kScaleTerm] * stretched * stretched);
}

ProjectionStatus TmTablesForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const auto& P = p.m_Param;
  const double l = g.longitude * kDegreesPerRadian * kSecondsPerDegree + P[kCentralMeridianSeconds];
  const double w = 1.0 - kClarkeE2 * g.sin_lat * g.sin_lat;
  const double h = kTmHPerSecond * g.cos_lat / std::sqrt(w) * (l - P[kLongitudeCubic] * Cube(l));
  const double h1 = h + P[kHCubic] * Cube(h);
  if (out.easting || out.scale) {
    const double x = P[kFeetScale] * h1 + P[kEastingCubic] * Cube(h1);
    if (out.easting) *out.easting = (x + P[kEastingConstant]) * kMetresPerUsSurveyFoot;
    if (out.scale) *out.scale = TmScale(p, g.cos_lat, x);
  }
  if (!out.northing && !out.convergence) return ProjectionStatus::kOk;
  const double q = h1 * h1 * P[kLatitudeTerm];
  const double phi_a = g.latitude + q * w * w * g.sin_lat / g.cos_lat;
  const double sin_a = std::sin(phi_a);
  const double w_a = 1.0 - kClarkeE2 * sin_a * sin_a;
  const double phi_b = g.latitude + std::tan(phi_a) * q * w_a * w_a;
  if (out.northing) {
    const double seconds = phi_b * kDegreesPerRadian * kSecondsPerDegree;
    *out.northing =
        ((seconds - P[kOriginInSeconds]) - RectifyingReduction(std::sin(phi_b), std::cos(phi_b))) *
        P[kFeetPerRectifyingSecondScaled] * kMetresPerUsSurveyFoot;
  }
  if (out.convergence) *out.convergence = TmConvergence(l, (phi_b + g.latitude) / 2.0);
  return ProjectionStatus::kOk;
}

ProjectionStatus TmTablesInverse(const CProjection& p, double easting, double northing,
                                 const GeogOutputs& out) {
  const auto& P = p.m_Param;
  const double xf = kUsSurveyFeetPerMetre * easting - P[kEastingConstant];
  const double x1 = xf - P[kInverseEastingCubic] * Cube(xf);
  const double phi1 =
      (kUsSurveyFeetPerMetre * northing / P[kFeetPerRectifyingSecondScaled] + P[kOriginInSeconds]) *
      kRadiansPerDegree / kSecondsPerDegree;
  const double phi2 = phi1 + FootpointCorrection(phi1) * kRadiansPerDegree / kSecondsPerDegree;
  if (!out.latitude) return ProjectionStatus::kOk;
  const double sin2 = std::sin(phi2);
  const double w = 1.0 - kClarkeE2 * sin2 * sin2;
  const double q = (xf - P[kInverseEastingCubic] * Cube(x1)) / P[kFeetScale];
  const double latitude = phi2 - std::tan(phi2) * w * w * P[kLatitudeTerm] * q * q;
  *out.latitude = latitude;
  const double q1 = q - P[kHCubic] * Cube(q);
  const double q2 = q - P[kHCubic] * Cube(q1);
  const double sin_lat = std::sin(latitude);
  const double cos_lat = std::cos(latitude);
  const double h = std::sqrt(1.0 - kClarkeE2 * sin_lat * sin_lat) * q2 / (cos_lat * kTmHPerSecond);
  const double h1 = h + P[kLongitudeCubic] * Cube(h);
  const double l = h + P[kLongitudeCubic] * Cube(h1);
  if (out.longitude)
    *out.longitude = (l - P[kCentralMeridianSeconds]) * kRadiansPerDegree / kSecondsPerDegree;
  if (out.convergence) *out.convergence = TmConvergence(l, (phi2 + latitude) / 2.0);
  if (out.scale) *out.scale = TmScale(p, cos_lat, xf);
  return ProjectionStatus::kOk;
}

}  // namespace

const ProjectionMaths kLambertTablesMaths = {
    .initialise = InitialiseLambertTables,
    .forward = LambertTablesForward,
    .inverse = LambertTablesInverse,
};

const ProjectionMaths kTmTablesMaths = {
    .initialise = InitialiseTmTables,
    .forward = TmTablesForward,
    .inverse = TmTablesInverse,
};

}  // namespace orvale::projection
