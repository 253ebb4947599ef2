#include "orvale/engine/survey/sun_shot.h"

#include <cmath>
#include <cstdio>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/sun_almanac.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"

namespace orvale {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kSecondsPerDay = 86400.0;
constexpr int kAlmanacLines = 12;
constexpr std::array<int, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// a0 + a1 x + ... by Horner's rule from the highest coefficient down.
template <std::size_t N>
double Polynomial(const std::array<double, N>& a, double x) {
  double sum = 0.0;
  for (std::size_t k = N; k-- > 0;)
    sum = sum * x + a[k];
  return sum;
}

template <std::size_t N>
double Sum(const std::array<double, N>& a) {
  double sum = 0.0;
  for (const double value : a)
    sum += value;
  return sum;
}

// One data line: the month and the 14 coefficients, or false. The C library reads
// them exactly as the almanac's own format says; a coefficient that is not a finite
// number is no coefficient.
bool ParseAlmanacLine(const std::string& line, int& month, SunAlmanacMonth& record) {
  auto& r = record;
  const int fields = std::sscanf(
      line.c_str(), "%d,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf", &month, &r.m_R[0],
      &r.m_R[1], &r.m_Declination[0], &r.m_Declination[1], &r.m_Declination[2], &r.m_Declination[3],
      &r.m_Declination[4], &r.m_E[0], &r.m_E[1], &r.m_E[2], &r.m_E[3], &r.m_E[4],
      &r.m_SemiDiameter[0], &r.m_SemiDiameter[1]);
  if (fields != 15) return false;
  for (const double value : {Sum(r.m_R), Sum(r.m_Declination), Sum(r.m_E), Sum(r.m_SemiDiameter)})
    if (!std::isfinite(value)) return false;
  r.m_DeclinationCheck = Sum(r.m_Declination);
  r.m_ECheck = Sum(r.m_E);
  return true;
}

int DayOfYear(int year, int month, int day) {
  int days = day;
  for (int m = 1; m < month && m <= 12; ++m)
    days += kMonthLengths[static_cast<std::size_t>(m - 1)] + (m == 2 && IsGregorianLeapYear(year));
  return days;
}

}  // namespace

bool IsGregorianLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

CSunShot::CSunShot(const IClock& clock) {
  ReadSettings();
  // The time of an observation is universal time, so "now" is the clock's local
  // time less its offset from UTC (which may move the date by a day).
  const LocalDateTime now = clock.Now();
  double seconds =
      now.hour * 3600.0 + now.minute * 60.0 + now.second - now.utc_offset_minutes * 60.0;
  int year = now.year;
  int day = DayOfYear(now.year, now.month, now.day);
  if (seconds < 0.0) {
    seconds += kSecondsPerDay;
    if (--day < 1) day = 365 + IsGregorianLeapYear(--year);
  } else if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    if (++day > 365 + IsGregorianLeapYear(year)) {
      day = 1;
      ++year;
    }
  }
  m_DayOfYear = day;
  m_Time = seconds;
  static_cast<void>(LoadAlmanac(year));  // without an almanac the table stays clear
}

std::string CSunShot::AlmanacFileName(int year) {
  char name[32];
  std::snprintf(name, sizeof name, "sarsun%02d.dat", ((year % 100) + 100) % 100);
  return name;
}

std::string CSunShot::AlmanacPath(int year) {
  const FolderResult folder = GetDataFolder(kStarAlmanacFolder);
  return folder.ok ? folder.path + AlmanacFileName(year) : std::string();
}

bool CSunShot::LoadAlmanac(int year) {
  if (year == m_AlmanacYear && year != 0) {
    ComputeSun();
    return true;
  }
  // The table is cleared whatever happens next, so it holds no year until the load
  // succeeds; keeping the old year would let a later load of that year take the
  // cleared table for its almanac.
  m_Months = {};
  m_AlmanacYear = 0;
  const std::string path = AlmanacPath(year);
  CStdioFile file;
  if (path.empty() || !file.Open(path, FileMode::ReadText)) return false;
  std::string line;
  if (!file.ReadString(line)) return false;  // the heading
  // "sarsun50.dat" serves 1950 and 2050 alike: a file whose heading names its year
  // (as the almanacs Orvale makes do) is refused for any other.
  if (const int named = SunAlmanacYear(line); named != 0 && named != year) return false;
  int lines = 0;
  while (file.ReadString(line)) {
    int month = 0;
    SunAlmanacMonth record;
    if (!ParseAlmanacLine(line, month, record)) break;
    ++lines;
    if (month >= 1 && month <= 12) m_Months[static_cast<std::size_t>(month - 1)] = record;
  }
  static_cast<void>(file.Close());
  if (lines != kAlmanacLines) return false;
  m_AlmanacYear = year;
  ComputeSun();
  return true;
}

void CSunShot::MonthAndDay(int& month, int& day) const {
  // Days past the end of December stay in December: the almanac has no later month.
  month = 0;
  day = m_DayOfYear;
  while (month < 11) {
    const int length = kMonthLengths[static_cast<std::size_t>(month)] +
                       (month == 1 && IsGregorianLeapYear(m_AlmanacYear));
    if (day <= length) break;
    day -= length;
    ++month;
  }
}

void CSunShot::ComputeSun() {
  int month = 0;
  int day = 1;
  MonthAndDay(month, day);
  const SunAlmanacMonth& record = m_Months[static_cast<std::size_t>(month)];
  const double x = (day + m_Time / kSecondsPerDay) * 0.03125;
  m_Declination = Polynomial(record.m_Declination, x) * kRadiansPerDegree;
  m_E = Polynomial(record.m_E, x) * 3600.0;
  m_GHATime = m_E + m_Time;

  // The hour angle is brought into [0, 2 pi) before it is folded: E is about twelve
  // hours, so the GHA time runs past a day and, with an eastern longitude, the sum
  // past two turns, where folding alone would give a negative angle.
  double hour_angle = std::fmod(m_GHATime / 240.0 * kRadiansPerDegree + m_Longitude, kTwoPi);
  if (hour_angle < 0.0) hour_angle += kTwoPi;
  const bool sun_west = hour_angle <= kPi;
  m_LHA = sun_west ? hour_angle : kTwoPi - hour_angle;
  m_LHATime = m_LHA / kTwoPi * kSecondsPerDay;
  if (m_LHATime < 0.0) m_LHATime += kSecondsPerDay;

  // Folded by whole days, not by one: an almanac's E is only as sane as its file, and
  // a GHA of many turns must not be shown as the angle.
  m_GHATime = std::fmod(m_GHATime, kSecondsPerDay);
  if (m_GHATime < 0.0) m_GHATime += kSecondsPerDay;
  m_GHA = m_GHATime / kSecondsPerDay * kTwoPi;

  const double d =
      std::cos(m_Latitude) * std::tan(m_Declination) - std::sin(m_Latitude) * std::cos(m_LHA);
  double z = d == 0.0 ? 0.0 : std::atan2(std::sin(m_LHA), d);
  if (z < 0.0) z += kTwoPi;
  // Z is measured from north towards the sun's side of the meridian: it is the
  // clockwise azimuth only for a sun east of the meridian (before noon). A sun west
  // of it stands at 2 pi - Z clockwise; taking Z there would mirror the R.O.'s
  // azimuth about the meridian.
  m_SunAzimuth = sun_west && z != 0.0 ? kTwoPi - z : z;
  m_ROAzimuth = m_SunAzimuth - m_ROAngle;
  if (m_ROAzimuth < 0.0) m_ROAzimuth += kTwoPi;
}

void CSunShot::ReadSettings() {
  CConfigFile file;
  if (!file.OpenForRead("SunAzimuth")) return;
  // A value that is not a finite number (a hand-edited "nan") is no setting.
  for (double* value : {&m_Latitude, &m_Longitude, &m_ROAngle}) {
    *value = file.ReadDouble(0.0);
    if (!std::isfinite(*value)) *value = 0.0;
  }
  static_cast<void>(file.Close());
}

bool CSunShot::SaveSettings() const {
  CConfigFile file;
  if (!file.OpenForWrite("SunAzimuth")) return false;
  file.WriteDouble("Latitude", m_Latitude);
  file.WriteDouble("Longitude", m_Longitude);
  file.WriteDouble("RO Angle", m_ROAngle);
  return file.Close();
}

}  // namespace orvale
