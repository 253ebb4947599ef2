// Sun almanac files of any bytes: a load succeeds exactly when it names its year (or
// none) and holds twelve readable months, never crashes, and whatever loads computes
// angles in their ranges (or NaN, when the coefficients overflow) on any day of the
// year, the days beyond December included.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/platform/clock.h"
#include "orvale/storage/data_folders.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Inside [low, high], or NaN: an almanac of huge coefficients has no sun to give.
bool InRangeOrNaN(double value, double low, double high) {
  return std::isnan(value) || (value >= low && value <= high);
}

void CheckComputed(const orvale::CSunShot& shot) {
  constexpr double kTwoPi = 6.283185307179586;
  Require(InRangeOrNaN(shot.m_LHA, 0.0, kTwoPi / 2));
  Require(InRangeOrNaN(shot.m_SunAzimuth, 0.0, kTwoPi));
  Require(InRangeOrNaN(shot.m_GHA, -kTwoPi, 2 * kTwoPi));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  const orvale::FolderResult folder = orvale::GetDataFolder(orvale::kStarAlmanacFolder);
  Require(folder.ok);
  orvale::fuzzing::WriteFile(folder.path + orvale::CSunShot::AlmanacFileName(2026), data, size);

  // The constructor loads the clock's year; a second load of the same year only
  // computes and must agree.
  orvale::LocalDateTime instant;
  instant.year = 2026;
  instant.month = 6;
  instant.day = 21;
  instant.hour = 11;
  orvale::CSunShot shot{orvale::FixedClock(instant)};
  const bool loaded = shot.m_AlmanacYear == 2026;
  Require(shot.LoadAlmanac(2026) == loaded);
  if (loaded) {
    shot.m_Latitude = 0.9;
    shot.m_Longitude = -0.1;
    for (int day : {1, 59, 60, 182, 365, 366, 400}) {
      shot.m_DayOfYear = day;
      for (double time : {0.0, 43200.0, 86399.0}) {
        shot.m_Time = time;
        shot.ComputeSun();
        CheckComputed(shot);
      }
    }
  }
  // The same file name serves 1926: it loads for that year only when its heading
  // names no year, and a failed load leaves no year behind.
  orvale::CSunShot other{orvale::FixedClock(instant)};
  if (!other.LoadAlmanac(1926)) Require(other.m_AlmanacYear == 0);
  return 0;
}
