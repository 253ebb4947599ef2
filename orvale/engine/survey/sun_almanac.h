#pragma once
// A year's sun almanac made from the ephemeris: per month, the least-squares
// polynomials a sun shot reads (declination and E to the fourth power, R and the
// semi-diameter to the first) in x = (day of month + UT / 1 day) / 32, fitted to the
// ephemeris at every hour of the month and of the next month's first day.

#include <array>
#include <string>

#include "orvale/engine/survey/sun_shot.h"

namespace orvale {

struct SunAlmanac {
  int year = 0;
  std::array<SunAlmanacMonth, 12> months{};
  // The largest departures of the polynomials from the ephemeris at the hours fitted.
  double worst_declination = 0.0;  // radians
  double worst_e = 0.0;            // seconds of time
};

SunAlmanac FitSunAlmanac(int year);

// The text of the almanac file: a heading line naming the year, then one line per
// month, "MONTH,R0,R1,D0,...,D4,E0,...,E4,SD0,SD1", every coefficient to the digit.
std::string SunAlmanacText(const SunAlmanac& almanac);

// The year a heading line of SunAlmanacText names; 0 for any other heading.
int SunAlmanacYear(const std::string& heading);

}  // namespace orvale
