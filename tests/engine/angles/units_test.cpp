#include "orvale/engine/angles/units.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

TEST(UnitFactorAndAbbreviation, GiveMetresAndTheLabelOfEachDisplayUnit) {
  const std::tuple<int, int, int, double, std::string_view> cases[] = {
      {UNITS_METRIC, 0, IMPERIAL_CHAINS, 1.0, " m"},
      {UNITS_METRIC, 1, IMPERIAL_FEET, 1000.0, "Km"},
      {UNITS_METRIC, 2, IMPERIAL_FEET, 1.0000135965, " m"},
      {UNITS_IMPERIAL, 0, IMPERIAL_FEET, 0.3048, "Ft."},
      {UNITS_IMPERIAL, 0, IMPERIAL_YARDS, 0.3048 * 3.0, "Yds"},
      {UNITS_IMPERIAL, 2, IMPERIAL_LINKS, 0.30480083333333335 * 0.66, "Lnk"},
      {UNITS_IMPERIAL, 1, IMPERIAL_CHAINS, 0.30480060960121924 * 66.0, "Chn"},  // US survey
      // An unknown sub-unit counts feet but has no label.
      {UNITS_IMPERIAL, 11, 7, 0.3047995, ""},
      {UNITS_IMPERIAL, 5, -1, 0.3047994715386762, ""},
      // Unknown modes, and rows outside the tables, give metres.
      {2, 0, IMPERIAL_FEET, 1.0, ""},
      {-1, 1, IMPERIAL_FEET, 1.0, ""},
      {UNITS_METRIC, 3, IMPERIAL_FEET, 1.0, ""},
      {UNITS_IMPERIAL, 12, IMPERIAL_FEET, 1.0, "Ft."},
      {UNITS_IMPERIAL, -1, IMPERIAL_FEET, 1.0, "Ft."},
  };
  for (const auto& [mode, index, imperial_mode, metres, label] : cases) {
    EXPECT_EQ(GetUnitFactor(mode, index, imperial_mode), metres)
        << "mode " << mode << ", index " << index << ", imperial mode " << imperial_mode;
    EXPECT_EQ(GetUnitAbbreviation(mode, index, imperial_mode), label)
        << "mode " << mode << ", index " << index << ", imperial mode " << imperial_mode;
  }
}

TEST(UnitTables, KeepEveryRowWithinTheFieldSizesOfTheRecord) {
  for (const auto table : {MetricUnits(), ImperialUnits()}) {
    for (const LengthUnit& unit : table) {
      EXPECT_LE(unit.name.size(), 23u) << unit.name;
      EXPECT_LE(unit.unit_word.size(), 20u) << unit.name;
      EXPECT_LE(unit.abbreviation.size(), 10u) << unit.name;
    }
  }
}

class SavedUnitsMode : public testing::TemporaryDrives {
 protected:
  static UnitSelection ModeAfterSaving(std::string_view bytes, int imperial_mode) {
    WriteBytes(CConfigFile().GetSettingsPath("Units Mode"), bytes);
    return GetUnitsMode(imperial_mode);
  }
  static auto Fields(const UnitSelection& s) {
    return std::tuple(s.mode, s.index, s.imperial_mode);
  }
};

TEST_F(SavedUnitsMode, ReportsTheModeAndANonZeroImperialModeButNeverTheIndex) {
  EXPECT_EQ(Fields(GetUnitsMode(IMPERIAL_LINKS)), std::tuple(UNITS_METRIC, 0, IMPERIAL_LINKS))
      << "no file: metres, and the caller's imperial mode";
  EXPECT_EQ(Fields(ModeAfterSaving("Mode = 1\r\nIndex = 5\r\nImperial = 3\r\n", IMPERIAL_YARDS)),
            std::tuple(UNITS_IMPERIAL, 0, IMPERIAL_CHAINS));
  EXPECT_EQ(Fields(ModeAfterSaving("Mode = 1\r\nIndex = 5\r\nImperial = 0\r\n", IMPERIAL_YARDS)),
            std::tuple(UNITS_IMPERIAL, 0, IMPERIAL_YARDS));
  EXPECT_EQ(Fields(ModeAfterSaving("Mode = 1\r\n", IMPERIAL_LINKS)),
            std::tuple(UNITS_IMPERIAL, 0, IMPERIAL_LINKS));
}

}  // namespace
}  // namespace orvale
