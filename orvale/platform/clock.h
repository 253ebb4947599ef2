#pragma once
// Local date and time through one small interface, so that computations that
// depend on "now" (sun shots, epochs of time-dependent transformations) can be
// tested at a fixed instant.

namespace orvale {

struct LocalDateTime {
  int year = 1970;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  double second = 0.0;
  int utc_offset_minutes = 0;  // local time minus UTC, daylight saving included
  bool daylight_saving = false;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual LocalDateTime Now() const = 0;
};

// The machine's local time and zone.
class SystemClock final : public IClock {
 public:
  LocalDateTime Now() const override;
};

// Always answers the instant it was given.
class FixedClock final : public IClock {
 public:
  explicit FixedClock(const LocalDateTime& instant) : instant_(instant) {}
  void Set(const LocalDateTime& instant) { instant_ = instant; }
  LocalDateTime Now() const override { return instant_; }

 private:
  LocalDateTime instant_;
};

}  // namespace orvale
