#include "orvale/platform/clock.h"

#include <chrono>
#include <ctime>

namespace orvale {

LocalDateTime SystemClock::Now() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto fraction = now - std::chrono::system_clock::from_time_t(seconds);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  LocalDateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec + std::chrono::duration<double>(fraction).count();
  result.utc_offset_minutes = static_cast<int>(local.tm_gmtoff / 60);
  result.daylight_saving = local.tm_isdst > 0;
  return result;
}

}  // namespace orvale
