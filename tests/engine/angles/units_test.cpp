#include "orvale/engine/angles/units.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

// A mode or sub-unit by its name in the table, or given as a number.
int Code(const std::string& name) {
  const std::map<std::string, int> codes = {{"metric", UNITS_METRIC},  {"imperial", UNITS_IMPERIAL},
                                            {"feet", IMPERIAL_FEET},   {"yards", IMPERIAL_YARDS},
                                            {"links", IMPERIAL_LINKS}, {"chains", IMPERIAL_CHAINS}};
  return codes.contains(name) ? codes.at(name) : std::stoi(name);
}

TEST(UnitFactorAndAbbreviation, GiveMetresAndTheLabelOfEachDisplayUnit) {
  for (const testing::TextRow& row : testing::ReadTextTable("units/display_units.txt")) {
    SCOPED_TRACE(row.where);
    const int mode = Code(row[0]), index = std::stoi(row[1]), imperial_mode = Code(row[2]);
    const auto times = row[3].find(" x ");
    const double metres = times == std::string::npos ? std::stod(row[3])
                                                     : std::stod(row[3].substr(0, times)) *
                                                           std::stod(row[3].substr(times + 3));
    EXPECT_EQ(GetUnitFactor(mode, index, imperial_mode), metres);
    EXPECT_EQ(GetUnitAbbreviation(mode, index, imperial_mode), row[4]);
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
  EXPECT_EQ(Fields(ModeAfterSaving("Mode = 7\r\nIndex = 0\r\nImperial = 9\r\n", IMPERIAL_YARDS)),
            std::tuple(UNITS_METRIC, 0, IMPERIAL_YARDS))
      << "values that name no mode are read as none saved";
}

}  // namespace
}  // namespace orvale
