// State Plane "Lambert Tables" (method 1) and "TM Tables" (method 2): the NAD 27
// plane-co-ordinate tables of the USC&GS, computed the way the printed tables were,
// in US survey feet and seconds of arc on the zone constants held in P0 ... P10.
// The series carry the Clarke 1866 figures as fixed numbers, whatever spheroid the
// record refers to.
//
// Longitudes are east positive like everywhere else in the engine, so US points
// have negative longitudes. The Lambert forward reads only |longitude| (a west
// longitude given as positive projects the same); the TM forward adds the signed
// longitude to the west-positive central meridian P1, so it needs the negative one.
// Both inverses return negative (east-positive) longitudes.

#include <cmath>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"

namespace orvale::projection {
namespace {

constexpr double kMetresPerUsFoot = 0.30480060960121924;
constexpr double kUsFeetPerMetre = 3.2808333333333333;
constexpr double kSecondsPerDegree = 3600.0;

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

double Cube(double x) {
  return x * x * x;
}

void InitialiseLambertTables(CProjection& p) {
  auto& P = p.m_Param;
  p.m_OriginLatitude = std::asin(P[5]);
  p.m_SinLat0 = P[5];
  p.m_CentralMeridian = (P[1] / kSecondsPerDegree) * kRadiansPerDegree;
  // Feet, for display: the series themselves read P0 ... P3.
  p.m_FalseEasting = P[0];
  p.m_FalseNorthing = P[3] - P[2];
  p.m_ScaleFactor = P[4];
  P[11] = 60.0 * P[6] + P[7];
  P[12] = P[1] * P[5] * kRadiansPerSecond;
  P[13] = P[10] * 1e-08;
  P[14] = (P[7] + 36000.0) * kRadiansPerSecond;
  P[15] = (P[6] - 600.0) * M_PI / 10800.0;
  P[16] = kRadiansPerSecond;
}

void InitialiseTmTables(CProjection& p) {
  auto& P = p.m_Param;
  p.m_ScaleFactor = P[4];
  P[6] = kFeetPerMetreAtSetUp * P[4];
  P[7] = Cube(kFeetPerMetreAtSetUp * P[4] / 100000.0) * P[5];
  P[8] = kFeetPerRectifyingSecond * P[4];
  P[9] = 60.0 * P[2] + P[3];
  P[10] = 1.0 / (kTmScaleTerm * P[4] * P[4] * 1e12);
  P[11] = kTmLatitudeTerm;
  P[12] = kTmLongitudeCubic;
  P[13] = kTmHCubic;
  P[14] = P[5] / 1e+15;
}

// Radius of the parallel at `s` feet of meridian south of the central parallel.
double LambertRadius(const CProjection& p, double s) {
  const auto& P = p.m_Param;
  return P[2] + P[4] * s * (1.0 + (P[8] - (P[13] * s + P[9]) * s * 1e-08) * s * s * 1e-16);
}

void LambertTablesForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const auto& P = p.m_Param;
  const double latitude_seconds = g.latitude / P[16];
  const double s = kFeetPerRectifyingSecond *
                   ((P[11] - latitude_seconds) + RectifyingReduction(g.sin_lat, g.cos_lat));
  const double theta = P[12] - std::fabs(g.longitude) * P[5];
  const double r = LambertRadius(p, s);
  const double half_sin = std::sin(theta / 2.0);
  if (out.easting) *out.easting = (r * std::sin(theta) + P[0]) * kMetresPerUsFoot;
  if (out.northing) {
    *out.northing = (2.0 * r * half_sin * half_sin + P[3] - r) * kMetresPerUsFoot;
  }
  if (out.convergence) *out.convergence = theta;
  if (out.scale) {
    // This forward scale has never carried the square root that the inverse's has.
    *out.scale = (1.0 - kClarkeE2 * g.sin_lat * g.sin_lat) * r * P[5] / (g.cos_lat * kClarkeAFeet);
  }
}

void LambertTablesInverse(const CProjection& p, double easting, double northing,
                          const GeogOutputs& out) {
  const auto& P = p.m_Param;
  const double xf = kUsFeetPerMetre * easting;
  const double yf = kUsFeetPerMetre * northing;
  const double dy = P[3] - yf;
  const double theta = std::atan((xf - P[0]) / dy);
  if (out.longitude) *out.longitude = theta / P[5] - P[16] * P[1];
  if (out.convergence) *out.convergence = theta;
  if (!out.latitude) return;
  const double r = dy / std::cos(theta);
  const double half_sin = std::sin(theta / 2.0);
  const double s0 = (2.0 * r * half_sin * half_sin + dy - P[2]) / P[4];
  double s = s0;
  for (int round = 0; round < 3; ++round) {
    s = s0 / ((P[8] - (P[13] * s + P[9]) * s * 1e-8) * s * s * 1e-16 + 1.0);
  }
  const double rectifying = P[14] + P[15] - kRectifyingSecondsPerFoot * s * P[16];
  const double latitude = rectifying + FootpointCorrection(rectifying) * P[16];
  *out.latitude = latitude;
  if (out.scale) {
    const double sin_lat = std::sin(latitude);
    *out.scale = std::sqrt(1.0 - kClarkeE2 * sin_lat * sin_lat) * r * P[5] /
                 (std::cos(latitude) * kClarkeAFeet);
  }
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
  return p.m_ScaleFactor * (1.0 + p.m_Param[10] * stretched * stretched);
}

void TmTablesForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const auto& P = p.m_Param;
  const double l = g.longitude * kDegreesPerRadian * kSecondsPerDegree + P[1];
  const double w = 1.0 - kClarkeE2 * g.sin_lat * g.sin_lat;
  const double h = kTmHPerSecond * g.cos_lat / std::sqrt(w) * (l - P[12] * Cube(l));
  const double h1 = h + P[13] * Cube(h);
  if (out.easting || out.scale) {
    const double x = P[6] * h1 + P[7] * Cube(h1);
    if (out.easting) *out.easting = (x + P[0]) * kMetresPerUsFoot;
    if (out.scale) *out.scale = TmScale(p, g.cos_lat, x);
  }
  if (!out.northing && !out.convergence) return;
  const double q = h1 * h1 * P[11];
  const double phi_a = g.latitude + q * w * w * g.sin_lat / g.cos_lat;
  const double sin_a = std::sin(phi_a);
  const double w_a = 1.0 - kClarkeE2 * sin_a * sin_a;
  const double phi_b = g.latitude + std::tan(phi_a) * q * w_a * w_a;
  if (out.northing) {
    const double seconds = phi_b * kDegreesPerRadian * kSecondsPerDegree;
    *out.northing = ((seconds - P[9]) - RectifyingReduction(std::sin(phi_b), std::cos(phi_b))) *
                    P[8] * kMetresPerUsFoot;
  }
  if (out.convergence) *out.convergence = TmConvergence(l, (phi_b + g.latitude) / 2.0);
}

void TmTablesInverse(const CProjection& p, double easting, double northing,
                     const GeogOutputs& out) {
  const auto& P = p.m_Param;
  const double xf = kUsFeetPerMetre * easting - P[0];
  const double x1 = xf - P[14] * Cube(xf);
  const double phi1 =
      (kUsFeetPerMetre * northing / P[8] + P[9]) * kRadiansPerDegree / kSecondsPerDegree;
  const double phi2 = phi1 + FootpointCorrection(phi1) * kRadiansPerDegree / kSecondsPerDegree;
  if (!out.latitude) return;
  const double sin2 = std::sin(phi2);
  const double w = 1.0 - kClarkeE2 * sin2 * sin2;
  const double q = (xf - P[14] * Cube(x1)) / P[6];
  const double latitude = phi2 - std::tan(phi2) * w * w * P[11] * q * q;
  *out.latitude = latitude;
  const double q1 = q - P[13] * Cube(q);
  const double q2 = q - P[13] * Cube(q1);
  const double sin_lat = std::sin(latitude);
  const double cos_lat = std::cos(latitude);
  const double h = std::sqrt(1.0 - kClarkeE2 * sin_lat * sin_lat) * q2 / (cos_lat * kTmHPerSecond);
  const double h1 = h + P[12] * Cube(h);
  const double l = h + P[12] * Cube(h1);
  if (out.longitude) *out.longitude = (l - P[1]) * kRadiansPerDegree / kSecondsPerDegree;
  if (out.convergence) *out.convergence = TmConvergence(l, (phi2 + latitude) / 2.0);
  if (out.scale) *out.scale = TmScale(p, cos_lat, xf);
}

}  // namespace

void InitialiseStatePlaneTables(CProjection& p) {
  if (p.m_Method == 1) InitialiseLambertTables(p);
  if (p.m_Method == 2) InitialiseTmTables(p);
}

ProjectionStatus StatePlaneTablesForward(const CProjection& p, const GeogPoint& g,
                                         const GridOutputs& out) {
  if (p.m_Method == 1) LambertTablesForward(p, g, out);
  if (p.m_Method == 2) TmTablesForward(p, g, out);
  return ProjectionStatus::kOk;
}

ProjectionStatus StatePlaneTablesInverse(const CProjection& p, double easting, double northing,
                                         const GeogOutputs& out) {
  if (p.m_Method == 1) LambertTablesInverse(p, easting, northing, out);
  if (p.m_Method == 2) TmTablesInverse(p, easting, northing, out);
  return ProjectionStatus::kOk;
}

}  // namespace orvale::projection
