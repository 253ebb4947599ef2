#include "orvale/engine/angles/units.h"

#include <array>
#include <cstddef>

#include "orvale/storage/config_file.h"

namespace orvale {
namespace {

constexpr std::array<LengthUnit, 3> kMetricUnits = {{
    {"Metres", 1.0, "Metres", " m"},
    {"Kilometers", 1000.0, "Kilometers", "Km"},
    {"Germany Legal", 1.0000135965, "Metres", " m"},
}};
static_assert(kMetricUnits.size() == 3);

constexpr std::array<LengthUnit, 12> kImperialUnits = {{
    {"International", 0.3048, "Feet", "ft"},
    {"US Survey", kMetresPerUsSurveyFoot, "Feet", "ft"},
    {"British 1865", 0.30480083333333335, "Feet", "ft"},
    {"Benoit 1895A", 0.30483306666666665, "Feet", "ft"},
    {"Benoit 1895B", 0.30479973476327077, "Feet", "ft"},
    {"Sear 1922", 0.3047994715386762, "Feet", "ft"},
    {"Clarke", 0.304797265, "Feet", "ft"},
    {"Gold Coast", 0.304799710181509, "Feet", "ft"},
    {"Indian", 0.3047995104977167, "Feet", "ft"},
    {"Indian 1937", 0.30479841, "Feet", "ft"},
    {"Indian 1962", 0.3047996, "Feet", "ft"},
    {"Indian 1975", 0.3047995, "Feet", "ft"},
}};
static_assert(kImperialUnits.size() == 12);

constexpr std::array<ImperialSubUnit, 4> kImperialSubUnits = {{
    {"Feet", 1.0, "Ft."},
    {"Yards", 3.0, "Yds"},
    {"Links", 0.66, "Lnk"},
    {"Chains", 66.0, "Chn"},
}};
static_assert(kImperialSubUnits.size() == IMPERIAL_CHAINS + 1);

// The tables were once indexed unchecked; an index outside them now finds no row,
// so a damaged setting shows lengths in metres instead of reading stray memory.
template <typename Row, std::size_t N>
const Row* FindRow(const std::array<Row, N>& table, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

double UnitFactor(int mode, int index, int imperial_mode) {
  if (mode == UNITS_METRIC) {
    const LengthUnit* unit = FindRow(kMetricUnits, index);
    return unit != nullptr ? unit->metres_per_unit : 1.0;
  }
  if (mode != UNITS_IMPERIAL) return 1.0;
  const LengthUnit* foot = FindRow(kImperialUnits, index);
  if (foot == nullptr) return 1.0;
  // Any imperial mode beyond chains counts plain feet.
  const ImperialSubUnit* sub_unit = FindRow(kImperialSubUnits, imperial_mode);
  return sub_unit != nullptr ? foot->metres_per_unit * sub_unit->feet_per_unit
                             : foot->metres_per_unit;
}

}  // namespace

std::span<const LengthUnit> MetricUnits() {
  return kMetricUnits;
}
std::span<const LengthUnit> ImperialUnits() {
  return kImperialUnits;
}
std::span<const ImperialSubUnit> ImperialSubUnits() {
  return kImperialSubUnits;
}

double GetUnitFactor(int mode, int index, int imperial_mode) {
  const double factor = UnitFactor(mode, index, imperial_mode);
  return factor > 0.0 ? factor : 1.0;
}

std::string_view GetUnitAbbreviation(int mode, int index, int imperial_mode) {
  if (mode == UNITS_METRIC) {
    const LengthUnit* unit = FindRow(kMetricUnits, index);
    return unit != nullptr ? unit->abbreviation : std::string_view();
  }
  if (mode != UNITS_IMPERIAL) return {};
  const ImperialSubUnit* sub_unit = FindRow(kImperialSubUnits, imperial_mode);
  return sub_unit != nullptr ? sub_unit->abbreviation : std::string_view();
}

UnitSelection GetUnitsMode(int current_imperial_mode) {
  UnitSelection selection;
  selection.imperial_mode = current_imperial_mode;
  CConfigFile file;
  if (!file.OpenForRead("Units Mode")) return selection;
  // A mode or imperial mode that names none is read as none saved: metres, and the
  // caller's imperial mode.
  const int mode = file.ReadInt(0);
  if (mode == UNITS_IMPERIAL) selection.mode = mode;
  file.ReadInt(0);  // the saved unit index is not reported
  const int imperial_mode = file.ReadInt(0);
  if (imperial_mode > IMPERIAL_FEET && imperial_mode <= IMPERIAL_CHAINS) {
    selection.imperial_mode = imperial_mode;
  }
  return selection;
}

}  // namespace orvale
