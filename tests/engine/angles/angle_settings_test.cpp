#include "orvale/engine/angles/angle_settings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <tuple>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

constexpr double kLatitude51Half = 0.8988445647770796;  // 51.5 degrees north
constexpr double kHalfDegreeWest = -0.5 / kDegreesPerRadian;

auto Fields(const AngleFormat& f) {
  return std::tuple(f.notation, f.decimals, f.quadrant);
}
auto Fields(const GeographicalsFormat& f) {
  return std::tuple(f.notation, f.decimals, f.latitude_letter, f.longitude_letter);
}

// Settings files as the host writes them: "Key = value" lines.
class SavedAngleSettings : public testing::TemporaryDrives {
 protected:
  static void Save(std::string_view name, std::string_view bytes) {
    WriteBytes(CConfigFile().GetSettingsPath(name), bytes);
  }
  static void SaveAngles(int notation, int decimals) {
    Save("Angle Settings", "Notation = " + std::to_string(notation) +
                               "\r\nDecimals = " + std::to_string(decimals) + "\r\n");
  }
  static void SaveGeographicals(int notation, int decimals, char latitude, char longitude) {
    Save("Geographicals Settings",
         "Notation = " + std::to_string(notation) + "\r\nDecimals = " + std::to_string(decimals) +
             "\r\nLatitude = " + latitude + "\r\nLongitude = " + longitude + "\r\n");
  }
};

TEST_F(SavedAngleSettings, MissingFilesGiveDecimalMinutesWithSevenDecimals) {
  EXPECT_EQ(Fields(GetGeographicalsSettings()), std::tuple(ANGLE_PREF_DM, 7, 'N', 'E'));
  EXPECT_EQ(GetAngleSettings().notation, ANGLE_PREF_DM);
  EXPECT_EQ(GetSavedDecimals(ANGLE_SIGNED), 7);
  EXPECT_EQ(GetSavedDecimals(ANGLE_SIGNED_90_2), 2);
}

TEST_F(SavedAngleSettings, LatitudesAndLongitudesFollowTheGeographicalsFile) {
  SaveAngles(ANGLE_PREF_DEGREES, 3);
  SaveGeographicals(ANGLE_PREF_DMS, 4, 'S', 'W');
  EXPECT_EQ(Fields(GetSavedAngleFormat(ANGLE_LATITUDE)), std::tuple(ANGLE_PREF_DMS, 4, 'S'));
  EXPECT_EQ(Fields(GetSavedAngleFormat(ANGLE_LONGITUDE)), std::tuple(ANGLE_PREF_DMS, 4, 'W'));
  EXPECT_EQ(Fields(GetSavedAngleFormat(ANGLE_BEARING)), std::tuple(ANGLE_PREF_DEGREES, 3, '\0'));
  EXPECT_EQ(GetSavedDecimals(ANGLE_LATITUDE), 4);
  EXPECT_EQ(GetSavedDecimals(ANGLE_COMPLEMENT), 3);
  EXPECT_EQ(GetSavedDecimals(ANGLE_BEARING_2), 2);
}

TEST_F(SavedAngleSettings, MissingOrUnreadableLinesGiveZeroAndBlankLetters) {
  Save("Geographicals Settings", "Notation = 2\r\n");
  EXPECT_EQ(Fields(GetGeographicalsSettings()), std::tuple(ANGLE_PREF_DEGREES, 0, ' ', ' '));
  // A line without "=" gives 0, and the next read takes the next line.
  Save("Angle Settings", "Notation 4\r\nDecimals = 6\r\n");
  EXPECT_EQ(Fields(GetAngleSettings()), std::tuple(0, 6, '\0'));
}

TEST_F(SavedAngleSettings, SavedNotationFormatsWithTheSettingsReadAfreshEachTime) {
  EXPECT_EQ(FormatAngle(kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_SAVED), "51\xB0 30'.0000000N");
  SaveGeographicals(ANGLE_PREF_DEGREES, 3, 'S', 'W');
  EXPECT_EQ(FormatAngle(0.0, ANGLE_LATITUDE, ANGLE_PREF_SAVED, 8), "00\xB0.000S");
  EXPECT_EQ(FormatAngle(0.0, ANGLE_LONGITUDE, ANGLE_PREF_SAVED), "000\xB0.000W");
  SaveAngles(ANGLE_PREF_DMS, 1);
  EXPECT_EQ(FormatAngle(kHalfDegreeWest, ANGLE_SIGNED, ANGLE_PREF_SAVED), "-000\xB0 30' 00\".0");
  SaveAngles(ANGLE_PREF_GRADIANS, 2);
  EXPECT_EQ(FormatAngle(kHalfDegreeWest, ANGLE_SIGNED, ANGLE_PREF_SAVED), "-000g.56");
  // Templates and parsing follow the saved notation too.
  EXPECT_EQ(BuildAngleTemplate(ANGLE_BEARING, ANGLE_PREF_SAVED, -1).text, "399\xB0.99");
  const AngleParseResult parsed = ParseAngle("100", ANGLE_BEARING, ANGLE_PREF_SAVED);
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.radians, 100 / kGradiansPerRadian);
  // A saved notation that refers to itself, or names none, shows the unsaved DM.
  for (int notation : {static_cast<int>(ANGLE_PREF_SAVED), 99}) {
    SaveAngles(notation, 3);
    EXPECT_EQ(FormatAngle(0.5, ANGLE_BEARING, ANGLE_PREF_SAVED), "028\xB0 38'.873") << notation;
    EXPECT_EQ(BuildAngleTemplate(ANGLE_BEARING, ANGLE_PREF_SAVED, 3).text, "359\xB0 59'.999");
  }
  // A letter of no quadrant shows the unsaved one.
  SaveGeographicals(ANGLE_PREF_DEGREES, 1, 'Z', 'Z');
  EXPECT_EQ(FormatAngle(0.0, ANGLE_LONGITUDE, ANGLE_PREF_SAVED), "000\xB0.0E");
}

TEST_F(SavedAngleSettings, ReplaceValuesNoDisplayCanUseByTheirDefaults) {
  for (const testing::TextRow& c : testing::ReadTextTable("angles/saved_settings.txt", 3)) {
    std::string bytes = c[1] + ";";
    for (auto at = bytes.find(';'); at != std::string::npos; at = bytes.find(';', at))
      bytes.replace(at, 1, "\r\n");
    Save(c[0] + " Settings", bytes);
    std::istringstream expected(c[2]);
    int notation = 0, decimals = 0;
    char latitude = 0, longitude = 0;
    expected >> notation >> decimals >> latitude >> longitude;
    const auto letter = [](char c) { return c == '_' ? ' ' : c; };
    if (c[0] == "Angle") {
      EXPECT_EQ(Fields(GetAngleSettings()), std::tuple(notation, decimals, '\0')) << c.where;
    } else {
      EXPECT_EQ(Fields(GetGeographicalsSettings()),
                std::tuple(notation, decimals, letter(latitude), letter(longitude)))
          << c.where;
    }
  }
}

}  // namespace
}  // namespace orvale
