#include "orvale/engine/units.h"

#include <gtest/gtest.h>

#include <string_view>

#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

TEST(GetUnitFactor, GivesMetresPerDisplayUnit) {
  const struct {
    int mode;
    int index;
    int imperial_mode;
    double expected;
  } cases[] = {
      {UNITS_METRIC, 0, IMPERIAL_CHAINS, 1.0},
      {UNITS_METRIC, 1, IMPERIAL_FEET, 1000.0},
      {UNITS_METRIC, 2, IMPERIAL_FEET, 1.0000135965},
      {UNITS_IMPERIAL, 0, IMPERIAL_FEET, 0.3048},
      {UNITS_IMPERIAL, 0, IMPERIAL_YARDS, 0.3048 * 3.0},
      {UNITS_IMPERIAL, 2, IMPERIAL_LINKS, 0.30480083333333335 * 0.66},
      {UNITS_IMPERIAL, 1, IMPERIAL_CHAINS, 0.30480060960121924 * 66.0},
      {UNITS_IMPERIAL, 11, 7, 0.3047995},  // an unknown sub-unit counts feet
      {UNITS_IMPERIAL, 5, -1, 0.3047994715386762},
      {2, 0, IMPERIAL_FEET, 1.0},
      {-1, 1, IMPERIAL_FEET, 1.0},
      {UNITS_METRIC, 3, IMPERIAL_FEET, 1.0},  // outside the tables: metres
      {UNITS_IMPERIAL, 12, IMPERIAL_FEET, 1.0},
      {UNITS_IMPERIAL, -1, IMPERIAL_FEET, 1.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetUnitFactor(c.mode, c.index, c.imperial_mode), c.expected)
        << "mode " << c.mode << ", index " << c.index << ", imperial mode " << c.imperial_mode;
  }
}

TEST(GetUnitAbbreviation, NamesTheMetricRowOrTheImperialSubUnit) {
  const struct {
    int mode;
    int index;
    int imperial_mode;
    std::string_view expected;
  } cases[] = {
      {UNITS_METRIC, 0, IMPERIAL_CHAINS, " m"},
      {UNITS_METRIC, 1, IMPERIAL_FEET, "Km"},
      {UNITS_METRIC, 2, IMPERIAL_FEET, " m"},
      {UNITS_IMPERIAL, 4, IMPERIAL_FEET, "Ft."},
      {UNITS_IMPERIAL, 4, IMPERIAL_YARDS, "Yds"},
      {UNITS_IMPERIAL, 0, IMPERIAL_LINKS, "Lnk"},
      {UNITS_IMPERIAL, 9, IMPERIAL_CHAINS, "Chn"},
      {UNITS_IMPERIAL, 0, 4, ""},
      {2, 0, IMPERIAL_FEET, ""},
      {UNITS_METRIC, 5, IMPERIAL_FEET, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetUnitAbbreviation(c.mode, c.index, c.imperial_mode), c.expected)
        << "mode " << c.mode << ", index " << c.index << ", imperial mode " << c.imperial_mode;
  }
}

TEST(UnitTables, KeepEveryRowWithinTheFieldSizesOfTheRecord) {
  ASSERT_EQ(ImperialUnits().size(), 12u);
  EXPECT_EQ(ImperialUnits()[11].name, "Indian 1975");
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
  static void SaveUnitsMode(std::string_view bytes) {
    WriteBytes(CConfigFile().GetSettingsPath("Units Mode"), bytes);
  }
};

TEST_F(SavedUnitsMode, NoFileGivesMetresAndKeepsTheCallersImperialMode) {
  const UnitSelection selection = GetUnitsMode(IMPERIAL_LINKS);
  EXPECT_EQ(selection.mode, UNITS_METRIC);
  EXPECT_EQ(selection.index, 0);
  EXPECT_EQ(selection.imperial_mode, IMPERIAL_LINKS);
}

TEST_F(SavedUnitsMode, ReportsTheModeAndANonZeroImperialModeButNeverTheIndex) {
  SaveUnitsMode("Mode = 1\r\nIndex = 5\r\nImperial = 3\r\n");
  UnitSelection selection = GetUnitsMode(IMPERIAL_YARDS);
  EXPECT_EQ(selection.mode, UNITS_IMPERIAL);
  EXPECT_EQ(selection.index, 0);
  EXPECT_EQ(selection.imperial_mode, IMPERIAL_CHAINS);

  SaveUnitsMode("Mode = 1\r\nIndex = 5\r\nImperial = 0\r\n");
  EXPECT_EQ(GetUnitsMode(IMPERIAL_YARDS).imperial_mode, IMPERIAL_YARDS);

  SaveUnitsMode("Mode = 1\r\n");
  selection = GetUnitsMode(IMPERIAL_LINKS);
  EXPECT_EQ(selection.mode, UNITS_IMPERIAL);
  EXPECT_EQ(selection.imperial_mode, IMPERIAL_LINKS);
}

}  // namespace
}  // namespace orvale
