#pragma once
// Length units: metres inside the library; a display unit (metric, or a foot of one
// of the historical definitions counted in feet, yards, links or chains) only at the
// display boundary. A displayed length is the metre value divided by GetUnitFactor.

#include <span>
#include <string_view>

namespace orvale {

// The US survey foot, 1200/3937 m, and its inverse as the state-plane tables carry it.
inline constexpr double kMetresPerUsSurveyFoot = 0.30480060960121924;
inline constexpr double kUsSurveyFeetPerMetre = 3.2808333333333333;

enum UNIT_MODE {
  UNITS_METRIC = 0,
  UNITS_IMPERIAL = 1,
};

enum IMPERIAL_MODE {
  IMPERIAL_FEET = 0,
  IMPERIAL_YARDS = 1,
  IMPERIAL_LINKS = 2,
  IMPERIAL_CHAINS = 3,
};

// One row of a unit table: the unit's name, metres in one unit, the word and the
// abbreviation shown beside lengths.
struct LengthUnit {
  std::string_view name;
  double metres_per_unit;
  std::string_view unit_word;
  std::string_view abbreviation;
};

// A count of feet of the chosen foot: feet, yards, links or chains.
struct ImperialSubUnit {
  std::string_view name;
  double feet_per_unit;
  std::string_view abbreviation;
};

// The tables, in index order, for listing and choosing units.
std::span<const LengthUnit> MetricUnits();
std::span<const LengthUnit> ImperialUnits();          // the foot definitions
std::span<const ImperialSubUnit> ImperialSubUnits();  // indexed by IMPERIAL_MODE

// Metres per display unit. Imperial modes other than yards, links and chains count
// feet. An unknown mode, an index outside its table or a factor <= 0 gives 1.0.
double GetUnitFactor(int mode, int index, int imperial_mode);

// Abbreviation shown beside lengths: the metric row's (" m", "Km"), or the imperial
// sub-unit's ("Ft.", "Yds", "Lnk", "Chn"); empty when there is none.
std::string_view GetUnitAbbreviation(int mode, int index, int imperial_mode);

struct UnitSelection {
  int mode = UNITS_METRIC;
  int index = 0;
  int imperial_mode = IMPERIAL_FEET;
};

// The saved "Units Mode": the unit mode (metric when there is no file) and the
// imperial mode when one is saved (a saved 0 or no file keeps `current_imperial_mode`).
// The unit index is always reported as 0.
UnitSelection GetUnitsMode(int current_imperial_mode);

}  // namespace orvale
