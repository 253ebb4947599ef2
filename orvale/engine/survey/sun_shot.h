#pragma once
// The sun shot: the azimuth of a reference object (R.O.) from an observation of the
// sun. The sun's declination and the excess E of its Greenwich hour angle over
// universal time come from the monthly polynomials of a yearly almanac file
// ("sarsunYY.dat" in the "Star Almanac" data folder); the observer's position and the
// R.O. angle are kept between runs in the "SunAzimuth" settings file.

#include <array>
#include <cstdint>
#include <string>

#include "orvale/platform/clock.h"

namespace orvale {

// One month of the almanac: polynomials in x = (day of month + UT / 1 day) / 32.
struct SunAlmanacMonth {
  std::array<double, 2> m_R{};             // hours
  std::array<double, 5> m_Declination{};   // degrees
  std::array<double, 5> m_E{};             // hours
  std::array<double, 2> m_SemiDiameter{};  // degrees
  double m_DeclinationCheck = 0.0;         // the sum of the declination coefficients
  double m_ECheck = 0.0;                   // the sum of the E coefficients
};

class CSunShot {
 public:
  // Reads the settings, takes the date and the universal time of day from `clock` and
  // loads that year's almanac (when there is one).
  explicit CSunShot(const IClock& clock);

  // Loads the almanac of `year` (computing afterwards); the same year again only
  // computes. False when the file cannot be opened or holds other than 12 data lines;
  // the table is then cleared or partly filled and no year is loaded.
  [[nodiscard]] bool LoadAlmanac(int year);

  // The results from the inputs and the loaded table.
  void ComputeSun();

  // Latitude, longitude and R.O. angle to "SunAzimuth"; false when it cannot be written.
  [[nodiscard]] bool SaveSettings() const;

  // "sarsun26.dat" for 2026.
  static std::string AlmanacFileName(int year);
  // The almanac's full library path; empty when the data folder cannot be had.
  static std::string AlmanacPath(int year);

  double m_Longitude = 0.0;  // radians, east positive
  double m_Latitude = 0.0;   // radians
  std::int32_t m_DayOfYear = 1;
  std::int32_t m_AlmanacYear = 0;  // 0: none loaded
  double m_Time = 0.0;             // universal time, seconds after midnight
  double m_Declination = 0.0;      // radians
  double m_E = 0.0;                // seconds of time
  double m_GHA = 0.0;              // radians
  double m_GHATime = 0.0;          // seconds of time, 0 to 86400
  double m_LHA = 0.0;              // radians, folded into 0 to pi
  double m_LHATime = 0.0;          // seconds of time
  double m_SunAzimuth = 0.0;       // radians, clockwise from north
  double m_ROAngle = 0.0;          // radians, clockwise from the R.O. to the sun
  double m_ROAzimuth = 0.0;        // radians
  std::array<SunAlmanacMonth, 12> m_Months{};

 private:
  void ReadSettings();
  // The month (0 to 11) and day of month of m_DayOfYear in the almanac year.
  void MonthAndDay(int& month, int& day) const;
};

// Gregorian leap years: divisible by 4 and not by 100, or by 400.
bool IsGregorianLeapYear(int year);

}  // namespace orvale
