#pragma once
// The kinds of property the panes put in their grids. Values are held in internal
// units (radians, metres, seconds); each kind shows its value in the user's current
// display settings (angle notation, length unit) and takes edited text back in them.

#include <string>
#include <string_view>

#include "orvale/panes/property_grid.h"

namespace orvale {

// A number printed with a printf format ("%12.10lf").
class CMFCPropertyGridDouble : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridDouble(std::string name, double value, std::string format,
                         std::string description = {}, int data = 0);
  std::string_view Kind() const override { return "double"; }
  void SetValue(double value) { CMFCPropertyGridProperty::SetValue(value); }
  void SetFormat(std::string format) { format_ = std::move(format); }
  std::string FormatProperty() const override;
  // A plain decimal number.
  bool OnUpdateValue(std::string_view text) override;

 private:
  std::string format_;
};

// Length kinds: horizontal lengths and co-ordinates, heights and short lengths.
inline constexpr int kHorizontalLength = 12;
inline constexpr int kShortLength = 10;

// A length in metres, shown in the unit of the saved "Units Mode": three decimals for
// horizontal lengths, four for short ones, then the unit's abbreviation. The second
// form sets the decimals and a least width of the number.
class CMFCPropertyGridMetricProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridMetricProperty(std::string name, double metres, int kind,
                                 std::string description = {}, int data = 0);
  CMFCPropertyGridMetricProperty(std::string name, double metres, int kind, int decimals, int width,
                                 std::string description = {}, int data = 0);
  std::string_view Kind() const override { return "metric"; }
  void SetValue(double metres) { CMFCPropertyGridProperty::SetValue(metres); }
  int LengthKind() const { return kind_; }
  std::string FormatProperty() const override;
  // A number in the display unit, optionally followed by its abbreviation.
  bool OnUpdateValue(std::string_view text) override;

 private:
  int kind_;
  int decimals_;
  int width_ = 0;
};

// An angle in radians of an ANGLE_TYPE, shown in the saved notation for the type.
class CMFCPropertyGridAngleProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridAngleProperty(std::string name, double radians, int angle_type,
                                std::string description = {}, int data = 0);
  std::string_view Kind() const override { return "angle"; }
  void SetValue(double radians) { CMFCPropertyGridProperty::SetValue(radians); }
  int AngleType() const { return type_; }
  std::string FormatProperty() const override;
  // Any text the angle reader takes for the type (DMS, DM, decimal, gradians).
  bool OnUpdateValue(std::string_view text) override;

 private:
  int type_;
};

// What an angle held in degrees stands for, which decides how it is shown.
enum AS_MODE {
  AS_TRUE_DIRECTION = 0,  // a bearing, 0 to 360
  AS_GRID_BEARING = 1,    // a grid bearing or heading, 0 to 360
  AS_ZENITH = 2,          // a vertical angle from the zenith, tilt and heading, unsigned
  AS_PITCH = 3,           // a vertical angle from the horizontal, within 90 either way
  AS_ROLL = 4,            // signed
  AS_CONVERGENCE = 5,     // signed
};

// An angle held in decimal degrees (not radians), shown as the ANGLE_TYPE its mode
// selects.
class CMFCPropertyGridAngleDouble : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridAngleDouble(std::string name, double degrees, int mode,
                              std::string description = {}, int data = 0);
  std::string_view Kind() const override { return "angle-degrees"; }
  void SetValue(double degrees) { CMFCPropertyGridProperty::SetValue(degrees); }
  void SetMode(int mode) { mode_ = mode; }
  int GetMode() const { return mode_; }
  // The ANGLE_TYPE of a mode.
  static int AngleTypeOf(int mode);
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  int mode_;
};

// A time of day in seconds, shown "hh:mm:ss.ss".
class CMFCPropertyGridTimeProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridTimeProperty(std::string name, double seconds, std::string description = {},
                               int data = 0);
  std::string_view Kind() const override { return "time"; }
  void SetValue(double seconds) { CMFCPropertyGridProperty::SetValue(seconds); }
  std::string FormatProperty() const override;
  // "h:m:s", "h:m" or "h m s"; minutes and seconds below 60, hours below 24.
  bool OnUpdateValue(std::string_view text) override;
};

// A date held as day of the year (1 on 1 January) and year, shown "07 Dec 2026".
class CMFCPropertyGridDateProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridDateProperty(std::string name, int day_of_year, int year,
                               std::string description = {}, int data = 0);
  std::string_view Kind() const override { return "date"; }
  // Shows the held date again (after the pane changed it with SetDate).
  void DisplayDate();
  void SetDate(int day_of_year, int year);
  int GetDayOfYear() const { return day_of_year_; }
  int GetYear() const { return year_; }
  std::string FormatProperty() const override;
  // "2026-12-07", "7/12/2026" (day first), "7 Dec 2026" or "7 December 2026".
  bool OnUpdateValue(std::string_view text) override;

 private:
  int day_of_year_;
  int year_;
};

// Two read-only values side by side in one row, each with its own name, printf format
// and unit suffix.
class CMFCPropertyGridDualDisplay : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridDualDisplay(std::string first_name, double first, std::string first_format,
                              std::string first_unit, std::string second_name, double second,
                              std::string second_format, std::string second_unit);
  std::string_view Kind() const override { return "dual"; }
  void SetValue(const CPropertyValue& first, const CPropertyValue& second);
  std::string FormatProperty() const override;  // the first value
  const std::string& SecondName() const { return second_name_; }
  std::string SecondText() const;
  double Second() const { return second_; }

 private:
  std::string first_format_, first_unit_;
  std::string second_name_, second_format_, second_unit_;
  double second_;
};

// A heading row without a value, with an optional second text.
class CMFCPropertyGridTitleProperty : public CMFCPropertyGridProperty {
 public:
  explicit CMFCPropertyGridTitleProperty(std::string title, std::string second = {});
  std::string_view Kind() const override { return "title"; }
  std::string FormatProperty() const override { return second_; }

 private:
  std::string second_;
};

// True or False, chosen from those two options.
class CMFCPropertyGridBool : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridBool(std::string name, bool value, std::string description = {}, int data = 0);
  std::string_view Kind() const override { return "bool"; }
};

// A button in the value column; any edit is a press, which the owner hears of.
class CMFCPropertyGridButton : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridButton(std::string name, std::string button_text, std::string description = {},
                         int data = 0);
  std::string_view Kind() const override { return "button"; }
  void SetColour(COLORREF colour) { colour_ = colour; }
  COLORREF GetColour() const { return colour_; }
  bool OnUpdateValue(std::string_view text) override;

 private:
  COLORREF colour_ = 0;
};

}  // namespace orvale
