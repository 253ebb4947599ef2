#pragma once
// Where the sun stands: its apparent place (VSOP87 for the Earth's orbit, with the
// FK5 correction, nutation and aberration, as Meeus works it in Astronomical
// Algorithms, ch. 25) and the hour angles a sun shot and a star almanac need. Good to
// about an arc-second from 1900 to 2150.

namespace orvale {

struct SunPosition {
  double declination = 0.0;      // apparent, radians
  double right_ascension = 0.0;  // apparent, radians, 0 to 2 pi
  double gha = 0.0;              // Greenwich hour angle, radians, 0 to 2 pi
  double e_hours = 0.0;          // GHA in hours less UT: 0 to 24 (near 12)
  double r_hours = 0.0;          // Greenwich apparent sidereal time less UT, 0 to 24
  double semi_diameter = 0.0;    // radians
  double distance = 0.0;         // astronomical units
};

// The sun at `ut_seconds` after 0 h UT on a Gregorian date (the seconds may run past
// the day).
SunPosition SunAt(int year, int month, int day, double ut_seconds);

// Terrestrial (dynamical) time less universal time, seconds, at a decimal year: the
// polynomials of Espenak and Meeus, which follow the observed values to a few
// seconds from 1900 to now and extrapolate beyond.
double DeltaT(double year);

// The Julian day at 0 h UT of a Gregorian date.
double JulianDay(int year, int month, int day);

}  // namespace orvale
