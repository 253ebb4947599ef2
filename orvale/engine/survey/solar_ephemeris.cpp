#include "orvale/engine/survey/solar_ephemeris.h"

#include <cmath>
#include <span>

#include "orvale/engine/survey/internal/vsop87_earth.h"

namespace orvale {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kDegree = kPi / 180.0;  // the exact factor: these are orbital angles
constexpr double kArcSecond = kDegree / 3600.0;
constexpr double kJ2000 = 2451545.0;

double Wrap(double angle, double turn) {
  const double wrapped = std::fmod(angle, turn);
  return wrapped < 0.0 ? wrapped + turn : wrapped;
}

// A VSOP87 co-ordinate: the series of each power of tau, summed and multiplied out.
double Series(std::span<const std::span<const vsop87::Term>> powers, double tau) {
  double value = 0.0;
  double tau_k = 1.0;
  for (const std::span<const vsop87::Term> terms : powers) {
    double sum = 0.0;
    for (const vsop87::Term& term : terms)
      sum += term.a * std::cos(term.b + term.c * tau);
    value += sum * tau_k;
    tau_k *= tau;
  }
  return value * 1e-8;
}

struct Nutation {
  double longitude = 0.0;  // radians
  double obliquity = 0.0;
};

// The four largest terms of the IAU 1980 series: within 0.5" in longitude and 0.1"
// in obliquity, which the sun's place needs no better.
Nutation NutationAt(double t) {
  const double node =
      (125.04452 - 1934.136261 * t + 0.0020708 * t * t + t * t * t / 450000.0) * kDegree;
  const double sun = (280.4665 + 36000.7698 * t) * kDegree;
  const double moon = (218.3165 + 481267.8813 * t) * kDegree;
  return {(-17.20 * std::sin(node) - 1.32 * std::sin(2 * sun) - 0.23 * std::sin(2 * moon) +
           0.21 * std::sin(2 * node)) *
              kArcSecond,
          (9.20 * std::cos(node) + 0.57 * std::cos(2 * sun) + 0.10 * std::cos(2 * moon) -
           0.09 * std::cos(2 * node)) *
              kArcSecond};
}

double MeanObliquity(double t) {
  return (23.0 * 3600.0 + 26.0 * 60.0 + 21.448 - 46.8150 * t - 0.00059 * t * t +
          0.001813 * t * t * t) *
         kArcSecond;
}

}  // namespace

double JulianDay(int year, int month, int day) {
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  const int century = year / 100;
  const int gregorian = 2 - century + century / 4;
  return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + gregorian -
         1524.5;
}

double DeltaT(double y) {
  if (y < 1920.0) {
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
  }
  if (y < 1941.0) {
    const double t = y - 1920.0;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
  }
  if (y < 1961.0) {
    const double t = y - 1950.0;
    return 29.07 + 0.407 * t - t * t / 233.0 + t * t * t / 2547.0;
  }
  if (y < 1986.0) {
    const double t = y - 1975.0;
    return 45.45 + 1.067 * t - t * t / 260.0 - t * t * t / 718.0;
  }
  if (y < 2005.0) {
    const double t = y - 2000.0;
    return 63.86 +
           t * (0.3345 + t * (-0.060374 + t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
  }
  if (y < 2050.0) {
    const double t = y - 2000.0;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  const double u = (y - 1820.0) / 100.0;
  if (y < 2150.0) return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
  return -20.0 + 32.0 * u * u;
}

SunPosition SunAt(int year, int month, int day, double ut_seconds) {
  // Days from J2000 kept apart from the large Julian day, so no precision is lost.
  const double days_ut = (JulianDay(year, month, day) - kJ2000) + ut_seconds / 86400.0;
  const double decimal_year = year + (month - 0.5) / 12.0;
  const double days_tt = days_ut + DeltaT(decimal_year) / 86400.0;
  const double tau = days_tt / 365250.0;
  const double t = tau * 10.0;

  // Geocentric: the Earth's heliocentric place turned about.
  const double earth_longitude = Series(vsop87::kLongitude, tau);
  const double earth_latitude = Series(vsop87::kLatitude, tau);
  SunPosition sun;
  sun.distance = Series(vsop87::kRadius, tau);
  const double longitude = earth_longitude + kPi;
  double latitude = -earth_latitude;

  // From the VSOP87 dynamical frame to FK5.
  const double fk5 = longitude - (1.397 * t + 0.00031 * t * t) * kDegree;
  const double apparent_base = longitude - 0.09033 * kArcSecond;
  latitude += 0.03916 * kArcSecond * (std::cos(fk5) - std::sin(fk5));

  const Nutation nutation = NutationAt(t);
  const double aberration = -20.4898 * kArcSecond / sun.distance;
  const double lambda = apparent_base + nutation.longitude + aberration;
  const double epsilon = MeanObliquity(t) + nutation.obliquity;

  sun.right_ascension =
      Wrap(std::atan2(std::sin(lambda) * std::cos(epsilon) - std::tan(latitude) * std::sin(epsilon),
                      std::cos(lambda)),
           kTwoPi);
  sun.declination = std::asin(std::sin(latitude) * std::cos(epsilon) +
                              std::cos(latitude) * std::sin(epsilon) * std::sin(lambda));

  // Greenwich apparent sidereal time: the mean time (Meeus 12.4) and the equation of
  // the equinoxes.
  const double t_ut = days_ut / 36525.0;
  const double mean_sidereal = 280.46061837 + 360.98564736629 * days_ut +
                               0.000387933 * t_ut * t_ut - t_ut * t_ut * t_ut / 38710000.0;
  const double sidereal =
      Wrap(mean_sidereal * kDegree + nutation.longitude * std::cos(epsilon), kTwoPi);
  sun.gha = Wrap(sidereal - sun.right_ascension, kTwoPi);
  const double ut_hours = ut_seconds / 3600.0;
  sun.e_hours = Wrap(sun.gha / kTwoPi * 24.0 - ut_hours, 24.0);
  sun.r_hours = Wrap(sidereal / kTwoPi * 24.0 - ut_hours, 24.0);
  sun.semi_diameter = 959.63 * kArcSecond / sun.distance;
  return sun;
}

}  // namespace orvale
