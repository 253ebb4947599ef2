#include "orvale/panes/sun_shot_pane.h"

#include <array>
#include <limits>
#include <memory>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr int kLocation = 0, kClock = 1, kPolynomials = 2, kComputation = 3, kReference = 4;
constexpr double kNoResult = std::numeric_limits<double>::quiet_NaN();
constexpr std::array<int, 12> kMonthDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The year of the sun shot's day of year: the clock's, unless universal time has
// already crossed into the next or the previous year.
int YearOfObservation(const IClock& clock, const CSunShot& sun) {
  if (sun.m_AlmanacYear != 0) return sun.m_AlmanacYear;
  const LocalDateTime now = clock.Now();
  if (now.month == 12 && sun.m_DayOfYear == 1) return now.year + 1;
  if (now.month == 1 && sun.m_DayOfYear >= 365) return now.year - 1;
  return now.year;
}

// Month (0 to 11) of a day of the year.
int MonthOf(int day_of_year, int year) {
  int month = 0;
  while (month < 11) {
    const int days = kMonthDays[static_cast<std::size_t>(month)] +
                     (month == 1 && IsGregorianLeapYear(year) ? 1 : 0);
    if (day_of_year <= days) break;
    day_of_year -= days;
    ++month;
  }
  return month;
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/") + 1);
}

void SetDual(CMFCPropertyGridProperty* item, double first, double second) {
  static_cast<CMFCPropertyGridDualDisplay*>(item)->SetValue(first, second);
}

}  // namespace

CSunShotPane::CSunShotPane(const IClock& clock)
    : sun_(clock), year_(YearOfObservation(clock, sun_)) {}

bool CSunShotPane::Create(CWnd* parent, int id) {
  if (!CreatePane(parent, "Sun Shot", id)) return false;
  sun_.ComputeSun();
  InitPropList();
  AdjustLayout();
  return true;
}

void CSunShotPane::InitPropList() {
  BeginPropList();
  auto location = std::make_unique<CMFCPropertyGridProperty>("Location");
  location->Add<CMFCPropertyGridAngleProperty>("Latitude", sun_.m_Latitude, ANGLE_LATITUDE,
                                               "Enter Latitude", kLatitudeId);
  location->Add<CMFCPropertyGridAngleProperty>("Longitude", sun_.m_Longitude, ANGLE_LONGITUDE,
                                               "Enter Longitude", kLongitudeId);
  Grid().AddProperty(std::move(location));

  auto clock = std::make_unique<CMFCPropertyGridProperty>("Clock");
  clock->Add<CMFCPropertyGridDateProperty>("Date", sun_.m_DayOfYear, year_, "Date", kDateId);
  clock->Add<CMFCPropertyGridTimeProperty>("Time", sun_.m_Time, "Enter Time HH:MM:SS", kTimeId);
  Grid().AddProperty(std::move(clock));

  auto poly = std::make_unique<CMFCPropertyGridProperty>("Polynomial Coefficents for R & Sun");
  poly->Add<CMFCPropertyGridProperty>("Path", FolderOf(CSunShot::AlmanacPath(year_)))
      ->AllowEdit(false);
  poly->Add<CMFCPropertyGridTitleProperty>(" R ");
  poly->Add<CMFCPropertyGridDualDisplay>("a0", 0.0, "%+12.6lf", "h", "a1", 0.0, "%+12.6lf", "h");
  poly->Add<CMFCPropertyGridTitleProperty>("Dec", "E");
  for (const char* name : {"a0", "a1", "a2", "a3", "a4"})
    poly->Add<CMFCPropertyGridDualDisplay>(name, 0.0, "%+12.6lf", "\xB0", name, 0.0, "%+12.6lf",
                                           "h");
  poly->Add<CMFCPropertyGridDualDisplay>("Check Sum", 0.0, "%+12.6lf", "\xB0", "Check Sum", 0.0,
                                         "%+12.6lf", "h");
  poly->Add<CMFCPropertyGridTitleProperty>("Sun's Semi-Diameter (S.D.)");
  poly->Add<CMFCPropertyGridDualDisplay>("a0", 0.0, "%+12.6lf", "\xB0", "a1", 0.0, "%+12.6lf",
                                         "\xB0");
  Grid().AddProperty(std::move(poly));

  auto computation = std::make_unique<CMFCPropertyGridProperty>("Computation");
  const auto shown = [&computation](std::unique_ptr<CMFCPropertyGridProperty> row) {
    computation->AddSubItem(std::move(row))->AllowEdit(false);
  };
  shown(std::make_unique<CMFCPropertyGridAngleProperty>("Apparent Declination of Sun", 0.0,
                                                        ANGLE_LATITUDE));
  shown(std::make_unique<CMFCPropertyGridTimeProperty>("Excess (E) of GHA Sun over UT", 0.0));
  shown(std::make_unique<CMFCPropertyGridAngleProperty>("Greenwich hour angle(GHA)", 0.0,
                                                        ANGLE_LONGITUDE));
  shown(std::make_unique<CMFCPropertyGridTimeProperty>("", 0.0));
  shown(std::make_unique<CMFCPropertyGridAngleProperty>("Local hour angle (LHA)", 0.0,
                                                        ANGLE_LONGITUDE));
  shown(std::make_unique<CMFCPropertyGridTimeProperty>("", 0.0));
  shown(std::make_unique<CMFCPropertyGridAngleProperty>("Azimuth of Sun", 0.0, ANGLE_BEARING));
  Grid().AddProperty(std::move(computation));

  auto reference = std::make_unique<CMFCPropertyGridProperty>("Reference Object (R.O.)");
  reference->Add<CMFCPropertyGridAngleProperty>("Clockwise Angle from RO to Sun", sun_.m_ROAngle,
                                                ANGLE_BEARING, "Angle from SUN to RO", kROAngleId);
  reference->Add<CMFCPropertyGridAngleProperty>("Azimuth to R.O.", 0.0, ANGLE_BEARING)
      ->AllowEdit(false);
  Grid().AddProperty(std::move(reference));
  UpdatePoly();
  Compute();
}

LRESULT CSunShotPane::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  const double value = property->GetValue().AsDouble();
  switch (property->GetData()) {
    case kLatitudeId:
    case kLongitudeId:
      (property->GetData() == kLatitudeId ? sun_.m_Latitude : sun_.m_Longitude) = value;
      SaveSettings();
      position_ = {sun_.m_Longitude, sun_.m_Latitude};
      PostToParent(GeographicalUpdateMessage(), reinterpret_cast<LPARAM>(&position_));
      break;
    case kDateId: {
      const auto* date = static_cast<const CMFCPropertyGridDateProperty*>(property);
      year_ = date->GetYear();
      // The same year again does not read the file again.
      static_cast<void>(sun_.LoadAlmanac(year_));
      sun_.m_DayOfYear = date->GetDayOfYear();
      Grid()
          .GetProperty(kPolynomials)
          ->GetSubItem(0)
          ->SetValue(FolderOf(CSunShot::AlmanacPath(year_)));
      UpdatePoly();
      break;
    }
    case kTimeId:
      sun_.m_Time = value;
      break;
    case kROAngleId:
      sun_.m_ROAngle = value;
      SaveSettings();
      break;
    default:
      break;
  }
  Compute();
  return 0;
}

void CSunShotPane::Compute() {
  sun_.ComputeSun();
  // Without the year's almanac the sun shot would run on zeros: no result, not a number.
  const bool almanac = sun_.m_AlmanacYear == year_ && year_ != 0;
  const auto result = [almanac](double value) { return almanac ? value : kNoResult; };
  CMFCPropertyGridProperty* group = Grid().GetProperty(kComputation);
  const double values[] = {sun_.m_Declination, sun_.m_E,       sun_.m_GHA,       sun_.m_GHATime,
                           sun_.m_LHA,         sun_.m_LHATime, sun_.m_SunAzimuth};
  for (int i = 0; i < 7; ++i)
    group->GetSubItem(i)->SetValue(result(values[i]));
  Grid().GetProperty(kReference)->GetSubItem(1)->SetValue(result(sun_.m_ROAzimuth));
}

void CSunShotPane::UpdatePoly() {
  const SunAlmanacMonth& m =
      sun_.m_Months[static_cast<std::size_t>(MonthOf(sun_.m_DayOfYear, year_))];
  CMFCPropertyGridProperty* group = Grid().GetProperty(kPolynomials);
  SetDual(group->GetSubItem(2), m.m_R[0], m.m_R[1]);
  for (int i = 0; i < 5; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    SetDual(group->GetSubItem(4 + i), m.m_Declination[k], m.m_E[k]);
  }
  SetDual(group->GetSubItem(9), m.m_DeclinationCheck, m.m_ECheck);
  SetDual(group->GetSubItem(11), m.m_SemiDiameter[0], m.m_SemiDiameter[1]);
}

void CSunShotPane::SetGeog(double latitude, double longitude) {
  sun_.m_Latitude = latitude;
  SaveSettings();
  sun_.m_Longitude = longitude;
  SaveSettings();
  UpdateGeog();
  Compute();
}

void CSunShotPane::UpdateGeog() {
  CMFCPropertyGridProperty* group = Grid().GetProperty(kLocation);
  group->GetSubItem(0)->SetValue(sun_.m_Latitude);
  group->GetSubItem(1)->SetValue(sun_.m_Longitude);
}

void CSunShotPane::UpdateGeographicals() {
  for (int i : {0, 1})
    Grid().GetProperty(kLocation)->GetSubItem(i)->Redraw();
  for (int i : {0, 2, 4})
    Grid().GetProperty(kComputation)->GetSubItem(i)->Redraw();
}

void CSunShotPane::UpdateClock() {
  CMFCPropertyGridProperty* clock = Grid().GetProperty(kClock);
  auto* date = static_cast<CMFCPropertyGridDateProperty*>(clock->GetSubItem(0));
  date->SetDate(sun_.m_DayOfYear, year_);
  date->DisplayDate();
  clock->GetSubItem(1)->SetValue(sun_.m_Time);
  clock->GetSubItem(1)->Redraw();
  for (int i : {1, 3, 5})
    Grid().GetProperty(kComputation)->GetSubItem(i)->Redraw();
}

void CSunShotPane::UpdateAngles() {
  Grid().GetProperty(kComputation)->GetSubItem(6)->Redraw();
  for (int i : {0, 1})
    Grid().GetProperty(kReference)->GetSubItem(i)->Redraw();
}

void CSunShotPane::SaveSettings() {
  // A settings file that cannot be written only loses the values for the next run.
  static_cast<void>(sun_.SaveSettings());
}

}  // namespace orvale
