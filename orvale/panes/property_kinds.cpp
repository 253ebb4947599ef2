#include "orvale/panes/property_kinds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"

namespace orvale {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A finite decimal number making up the whole of `text` (blanks around it allowed).
std::optional<double> NumberOf(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

// printf of one double into a text of any length.
std::string Printed(const std::string& format, double value) {
  const int length = std::snprintf(nullptr, 0, format.c_str(), value);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format.c_str(), value);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The saved display unit: metres per unit and the abbreviation without its padding.
struct DisplayUnit {
  double factor = 1.0;
  std::string abbreviation;
};

DisplayUnit SavedUnit() {
  const UnitSelection units = GetUnitsMode(IMPERIAL_FEET);
  return {GetUnitFactor(units.mode, units.index, units.imperial_mode),
          std::string(Trimmed(GetUnitAbbreviation(units.mode, units.index, units.imperial_mode)))};
}

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[static_cast<std::size_t>(month - 1)] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// Day of the year of a calendar date; 0 when there is no such date.
int DayOfYear(int day, int month, int year) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year)) return 0;
  int days = day;
  for (int m = 1; m < month; ++m)
    days += DaysInMonth(m, year);
  return days;
}

// The words of a text split at blanks, "/", "-", ":" and ",".
std::vector<std::string_view> Words(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(separators, start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > start) words.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return words;
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A month by its number, its three-letter name or its full name (any case).
std::optional<int> MonthOf(std::string_view word) {
  if (const auto number = WholeNumber(word)) return number;
  const auto same = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) !=
          std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    }
    return true;
  };
  for (std::size_t m = 0; m < kMonths.size(); ++m) {
    if (same(word, kMonths[m]) || same(word, kMonthNames[m])) return static_cast<int>(m) + 1;
  }
  return std::nullopt;
}

// What a number property shows for a value the engine could not give (NaN, infinite):
// a flag, never a number.
constexpr std::string_view kNoResult = "no result";

}  // namespace

CMFCPropertyGridDouble::CMFCPropertyGridDouble(std::string name, double value, std::string format,
                                               std::string description, int data)
    : CMFCPropertyGridProperty(std::move(name), value, std::move(description), data),
      format_(std::move(format)) {}

std::string CMFCPropertyGridDouble::FormatProperty() const {
  if (!std::isfinite(GetValue().AsDouble())) return std::string(kNoResult);
  return Printed(format_, GetValue().AsDouble());
}

bool CMFCPropertyGridDouble::OnUpdateValue(std::string_view text) {
  const std::optional<double> value = NumberOf(text);
  if (!value) return Refuse("\"" + std::string(text) + "\" is not a number");
  return Accept(*value);
}

CMFCPropertyGridMetricProperty::CMFCPropertyGridMetricProperty(std::string name, double metres,
                                                               int kind, std::string description,
                                                               int data)
    : CMFCPropertyGridProperty(std::move(name), metres, std::move(description), data),
      kind_(kind),
      decimals_(kind == kShortLength ? 4 : 3) {}

CMFCPropertyGridMetricProperty::CMFCPropertyGridMetricProperty(std::string name, double metres,
                                                               int kind, int decimals, int width,
                                                               std::string description, int data)
    : CMFCPropertyGridProperty(std::move(name), metres, std::move(description), data),
      kind_(kind),
      decimals_(std::clamp(decimals, 0, 12)),
      width_(std::clamp(width, 0, 40)) {}

std::string CMFCPropertyGridMetricProperty::FormatProperty() const {
  if (!std::isfinite(GetValue().AsDouble())) return std::string(kNoResult);
  const DisplayUnit unit = SavedUnit();
  char number[96];
  std::snprintf(number, sizeof number, "%*.*lf", width_, decimals_,
                GetValue().AsDouble() / unit.factor);
  return unit.abbreviation.empty() ? std::string(number) : number + (" " + unit.abbreviation);
}

bool CMFCPropertyGridMetricProperty::OnUpdateValue(std::string_view text) {
  const DisplayUnit unit = SavedUnit();
  std::string_view number = Trimmed(text);
  if (!unit.abbreviation.empty() && number.ends_with(unit.abbreviation))
    number.remove_suffix(unit.abbreviation.size());
  const std::optional<double> value = NumberOf(number);
  if (!value) {
    return Refuse(
        "\"" + std::string(text) + "\" is not a length in " +
        (unit.abbreviation.empty() ? std::string("the display unit") : unit.abbreviation));
  }
  return Accept(*value * unit.factor);
}

CMFCPropertyGridAngleProperty::CMFCPropertyGridAngleProperty(std::string name, double radians,
                                                             int angle_type,
                                                             std::string description, int data)
    : CMFCPropertyGridProperty(std::move(name), radians, std::move(description), data),
      type_(angle_type) {}

std::string CMFCPropertyGridAngleProperty::FormatProperty() const {
  if (std::isnan(GetValue().AsDouble())) return std::string(kNoResult);
  return FormatAngle(GetValue().AsDouble(), type_, ANGLE_PREF_SAVED);
}

bool CMFCPropertyGridAngleProperty::OnUpdateValue(std::string_view text) {
  const AngleParseResult angle = ParseAngle(text, type_, ANGLE_PREF_SAVED);
  if (!angle.ok) return Refuse(angle.error);
  return Accept(angle.radians);
}

CMFCPropertyGridAngleDouble::CMFCPropertyGridAngleDouble(std::string name, double degrees, int mode,
                                                         std::string description, int data)
    : CMFCPropertyGridProperty(std::move(name), degrees, std::move(description), data),
      mode_(mode) {}

int CMFCPropertyGridAngleDouble::AngleTypeOf(int mode) {
  switch (mode) {
    case AS_PITCH:
      return ANGLE_SIGNED_90;
    case AS_ROLL:
    case AS_CONVERGENCE:
      return ANGLE_SIGNED;
    default:  // directions, bearings and zenith angles are unsigned
      return ANGLE_BEARING;
  }
}

std::string CMFCPropertyGridAngleDouble::FormatProperty() const {
  if (!std::isfinite(GetValue().AsDouble())) return std::string(kNoResult);
  return FormatAngle(GetValue().AsDouble() / kDegreesPerRadian, AngleTypeOf(mode_),
                     ANGLE_PREF_SAVED);
}

bool CMFCPropertyGridAngleDouble::OnUpdateValue(std::string_view text) {
  const AngleParseResult angle = ParseAngle(text, AngleTypeOf(mode_), ANGLE_PREF_SAVED);
  if (!angle.ok) return Refuse(angle.error);
  return Accept(angle.radians * kDegreesPerRadian);
}

CMFCPropertyGridTimeProperty::CMFCPropertyGridTimeProperty(std::string name, double seconds,
                                                           std::string description, int data)
    : CMFCPropertyGridProperty(std::move(name), seconds, std::move(description), data) {}

std::string CMFCPropertyGridTimeProperty::FormatProperty() const {
  // Rounded to the hundredth first, so that 59.999 s shows as the next minute. A
  // negative time (the equation of time) shows with its sign.
  const double hundredths = std::round(GetValue().AsDouble() * 100.0);
  if (!std::isfinite(hundredths) || std::fabs(hundredths) > 1e15) return std::string(kNoResult);
  const long long whole = static_cast<long long>(std::fabs(hundredths));
  const long long hours = whole / 360000, minutes = whole / 6000 % 60;
  const double seconds = static_cast<double>(whole % 6000) / 100.0;
  char text[48];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld:%05.2lf", hundredths < 0 ? "-" : "", hours,
                minutes, seconds);
  return text;
}

bool CMFCPropertyGridTimeProperty::OnUpdateValue(std::string_view text) {
  const std::vector<std::string_view> fields = Words(Trimmed(text), " :");
  std::array<double, 3> hms{};
  bool ok = fields.size() == 2 || fields.size() == 3;
  for (std::size_t i = 0; ok && i < fields.size(); ++i) {
    // No signs: "-0" would read as a zero hour.
    const std::optional<double> value = fields[i].find_first_of("+-") == std::string_view::npos
                                            ? NumberOf(fields[i])
                                            : std::nullopt;
    ok = value && *value >= 0.0 && *value < (i == 0 ? 24.0 : 60.0) &&
         (i + 1 == fields.size() || *value == std::floor(*value));
    if (ok) hms[i] = *value;
  }
  if (!ok) return Refuse("\"" + std::string(text) + "\" is not a time of day (hh:mm:ss)");
  return Accept(hms[0] * 3600.0 + hms[1] * 60.0 + hms[2]);
}

CMFCPropertyGridDateProperty::CMFCPropertyGridDateProperty(std::string name, int day_of_year,
                                                           int year, std::string description,
                                                           int data)
    : CMFCPropertyGridProperty(std::move(name), CPropertyValue(), std::move(description), data),
      day_of_year_(day_of_year),
      year_(year) {
  DisplayDate();
}

void CMFCPropertyGridDateProperty::SetDate(int day_of_year, int year) {
  day_of_year_ = day_of_year;
  year_ = year;
}

void CMFCPropertyGridDateProperty::DisplayDate() {
  CMFCPropertyGridProperty::SetValue(FormatProperty());
  Redraw();
}

std::string CMFCPropertyGridDateProperty::FormatProperty() const {
  int day = day_of_year_, month = 1;
  const int days_in_year = IsLeapYear(year_) ? 366 : 365;
  if (day < 1 || day > days_in_year) return {};
  while (day > DaysInMonth(month, year_)) {
    day -= DaysInMonth(month, year_);
    ++month;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%02d %s %04d", day,
                std::string(kMonths[static_cast<std::size_t>(month - 1)]).c_str(), year_);
  return text;
}

bool CMFCPropertyGridDateProperty::OnUpdateValue(std::string_view text) {
  const std::vector<std::string_view> words = Words(Trimmed(text), " /-.,");
  std::optional<int> day, month, year;
  if (words.size() == 3) {
    // Year first only in the ISO form (four digits first); otherwise day first.
    const bool iso = words[0].size() == 4;
    day = WholeNumber(words[iso ? 2 : 0]);
    month = MonthOf(words[1]);
    year = WholeNumber(words[iso ? 0 : 2]);
  }
  const int day_of_year =
      day && month && year && *year >= 1 && *year <= 9999 ? DayOfYear(*day, *month, *year) : 0;
  if (day_of_year == 0)
    return Refuse("\"" + std::string(text) + "\" is not a date (such as 07 Dec 2026)");
  SetDate(day_of_year, *year);
  return Accept(FormatProperty());
}

CMFCPropertyGridDualDisplay::CMFCPropertyGridDualDisplay(
    std::string first_name, double first, std::string first_format, std::string first_unit,
    std::string second_name, double second, std::string second_format, std::string second_unit)
    : CMFCPropertyGridProperty(std::move(first_name), first),
      first_format_(std::move(first_format)),
      first_unit_(std::move(first_unit)),
      second_name_(std::move(second_name)),
      second_format_(std::move(second_format)),
      second_unit_(std::move(second_unit)),
      second_(second) {
  AllowEdit(false);
}

void CMFCPropertyGridDualDisplay::SetValue(const CPropertyValue& first,
                                           const CPropertyValue& second) {
  CMFCPropertyGridProperty::SetValue(first);
  second_ = second.AsDouble();
}

std::string CMFCPropertyGridDualDisplay::FormatProperty() const {
  if (!std::isfinite(GetValue().AsDouble())) return std::string(kNoResult);
  return Printed(first_format_, GetValue().AsDouble()) + first_unit_;
}

std::string CMFCPropertyGridDualDisplay::SecondText() const {
  if (!std::isfinite(second_)) return std::string(kNoResult);
  return Printed(second_format_, second_) + second_unit_;
}

CMFCPropertyGridTitleProperty::CMFCPropertyGridTitleProperty(std::string title, std::string second)
    : CMFCPropertyGridProperty(std::move(title), CPropertyValue()), second_(std::move(second)) {
  AllowEdit(false);
}

CMFCPropertyGridBool::CMFCPropertyGridBool(std::string name, bool value, std::string description,
                                           int data)
    : CMFCPropertyGridProperty(std::move(name), value, std::move(description), data) {
  AddOption("True");
  AddOption("False");
  AllowEdit(false);
}

CMFCPropertyGridButton::CMFCPropertyGridButton(std::string name, std::string button_text,
                                               std::string description, int data)
    : CMFCPropertyGridProperty(std::move(name), std::move(button_text), std::move(description),
                               data) {}

bool CMFCPropertyGridButton::OnUpdateValue(std::string_view) {
  NotifyChanged();
  return true;
}

}  // namespace orvale
