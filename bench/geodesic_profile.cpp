// Every range-and-bearing method of the engine on the lines read from standard input,
// at full precision, for tools/geodesic-profile to measure against GeographicLib.
//
//   geodesic_profile A RF < lines     (A metres, RF the inverse flattening)
//
// Each input line "LAT1 LON1 LAT2 LON2 AZI1 S12" (degrees, metres: the line and the
// reference's azimuth and length, for the direct problems) gives one output line:
//   method 0: s azi1 azi2back | method 1: ... | geodesic: ... | rhumb exact: s azi |
//   rhumb printed: s azi | Clarke direct: lat2 lon2 | geodesic direct: lat2 lon2
// with "nan" where a method has no result. Angles in degrees (full pi/180).

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/internal/printed_rhumb.h"
#include "orvale/engine/survey/range_bearing.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: geodesic_profile A RF < lines\n");
    return 2;
  }
  orvale::CSpheroid spheroid;
  spheroid.SetAxes(std::atof(argv[1]), 300.0);
  spheroid.m_InverseFlattening = std::atof(argv[2]);
  spheroid.ComputeConstants();
  double lat1, lon1, lat2, lon2, azi1, s12;
  while (std::scanf("%lf %lf %lf %lf %lf %lf", &lat1, &lon1, &lat2, &lon2, &azi1, &s12) == 6) {
    const double p1 = lat1 * kDeg, l1 = lon1 * kDeg, p2 = lat2 * kDeg, l2 = lon2 * kDeg;
    for (std::uint32_t method = 0; method <= 2; ++method) {
      spheroid.m_RangeBearingMethod = method;
      double s = NAN, a = NAN, b = NAN;
      if (!spheroid.InverseRangeAndBearing(&s, &a, &b, p1, l1, p2, l2)) s = a = b = NAN;
      std::printf("%.17g %.17g %.17g ", s, a / kDeg, b / kDeg);
    }
    const double sin1 = std::sin(p1), cos1 = std::cos(p1);
    const double nu1 = spheroid.m_SemiMajorAxis / std::sqrt(1.0 - spheroid.m_E2 * sin1 * sin1);
    double s = NAN, a = NAN;
    if (!spheroid.RhumbLine(&s, &a, l1, p2, l2, sin1, cos1, nu1, p1)) s = a = NAN;
    std::printf("%.17g %.17g ", s, a / kDeg);
    orvale::PrintedRhumbLine(spheroid, &s, &a, l1, p2, l2, sin1, cos1, nu1, p1);
    std::printf("%.17g %.17g ", s, a / kDeg);
    for (std::uint32_t method : {0u, 2u}) {
      spheroid.m_RangeBearingMethod = method;
      double p = NAN, l = NAN;
      if (!spheroid.DirectProblem(&p, &l, l1, s12, azi1 * kDeg, p1)) p = l = NAN;
      std::printf("%.17g %.17g%s", p / kDeg, l / kDeg, method == 0 ? " " : "\n");
    }
  }
  return 0;
}
