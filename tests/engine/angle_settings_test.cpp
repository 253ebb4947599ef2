#include "orvale/engine/angle_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "orvale/engine/angle_parser.h"
#include "orvale/engine/angles.h"
#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr double kLatitude51Half = 0.8988445647770796;  // 51.5 degrees north

class SavedAngleSettings : public testing::TemporaryDrives {
 protected:
  static void SaveAngleSettings(int notation, int decimals) {
    CConfigFile file;
    ASSERT_TRUE(file.OpenForWrite("Angle Settings"));
    file.WriteInt("Notation", notation);
    file.WriteInt("Decimals", decimals);
    ASSERT_TRUE(file.Close());
  }

  static void SaveGeographicals(int notation, int decimals, std::string_view latitude,
                                std::string_view longitude) {
    CConfigFile file;
    ASSERT_TRUE(file.OpenForWrite("Geographicals Settings"));
    file.WriteInt("Notation", notation);
    file.WriteInt("Decimals", decimals);
    file.WriteString("Latitude", latitude);
    file.WriteString("Longitude", longitude);
    ASSERT_TRUE(file.Close());
  }

  static void SaveRaw(std::string_view name, std::string_view bytes) {
    WriteBytes(CConfigFile().GetSettingsPath(name), bytes);
  }
};

TEST_F(SavedAngleSettings, MissingFilesGiveDecimalMinutesWithSevenDecimals) {
  const GeographicalsFormat geographicals = GetGeographicalsSettings();
  EXPECT_EQ(geographicals.notation, ANGLE_PREF_DM);
  EXPECT_EQ(geographicals.decimals, 7);
  EXPECT_EQ(geographicals.latitude_letter, 'N');
  EXPECT_EQ(geographicals.longitude_letter, 'E');
  EXPECT_EQ(GetAngleSettings().notation, ANGLE_PREF_DM);
  EXPECT_EQ(GetSavedDecimals(ANGLE_SIGNED), 7);
  EXPECT_EQ(GetSavedDecimals(ANGLE_SIGNED_90_2), 2);
}

TEST_F(SavedAngleSettings, LatitudesAndLongitudesFollowTheGeographicalsFile) {
  SaveAngleSettings(ANGLE_PREF_DEGREES, 3);
  SaveGeographicals(ANGLE_PREF_DMS, 4, "S", "W");
  const AngleFormat latitude = GetSavedAngleFormat(ANGLE_LATITUDE);
  EXPECT_EQ(latitude.notation, ANGLE_PREF_DMS);
  EXPECT_EQ(latitude.decimals, 4);
  EXPECT_EQ(latitude.quadrant, 'S');
  EXPECT_EQ(GetSavedAngleFormat(ANGLE_LONGITUDE).quadrant, 'W');
  const AngleFormat bearing = GetSavedAngleFormat(ANGLE_BEARING);
  EXPECT_EQ(bearing.notation, ANGLE_PREF_DEGREES);
  EXPECT_EQ(bearing.decimals, 3);
  EXPECT_EQ(GetSavedDecimals(ANGLE_LATITUDE), 4);
  EXPECT_EQ(GetSavedDecimals(ANGLE_COMPLEMENT), 3);
  EXPECT_EQ(GetSavedDecimals(ANGLE_BEARING_2), 2);
}

TEST_F(SavedAngleSettings, AShortFileGivesZeroAndBlankLettersForWhatIsMissing) {
  SaveRaw("Geographicals Settings", "Notation = 2\r\n");
  const GeographicalsFormat saved = GetGeographicalsSettings();
  EXPECT_EQ(saved.notation, ANGLE_PREF_DEGREES);
  EXPECT_EQ(saved.decimals, 0);
  EXPECT_EQ(saved.latitude_letter, ' ');
  EXPECT_EQ(saved.longitude_letter, ' ');
}

TEST_F(SavedAngleSettings, ALineWithoutEqualsGivesZeroAndTheNextReadTakesTheNextLine) {
  SaveRaw("Angle Settings", "Notation 4\r\nDecimals = 6\r\n");
  const AngleFormat saved = GetAngleSettings();
  EXPECT_EQ(saved.notation, 0);
  EXPECT_EQ(saved.decimals, 6);
}

TEST_F(SavedAngleSettings, SavedNotationFormatsWithTheSettingsReadAfreshEachTime) {
  EXPECT_EQ(FormatAngle(kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_SAVED), "51\xB0 30'.0000000N");
  SaveGeographicals(ANGLE_PREF_DEGREES, 3, "S", "W");
  EXPECT_EQ(FormatAngle(0.0, ANGLE_LATITUDE, ANGLE_PREF_SAVED, 8), "00\xB0.000S");
  EXPECT_EQ(FormatAngle(0.0, ANGLE_LONGITUDE, ANGLE_PREF_SAVED), "000\xB0.000W");
  SaveAngleSettings(ANGLE_PREF_DMS, 1);
  EXPECT_EQ(FormatAngle(-0.5 / kDegreesPerRadian, ANGLE_SIGNED, ANGLE_PREF_SAVED),
            "-000\xB0 30' 00\".0");
  SaveAngleSettings(ANGLE_PREF_GRADIANS, 2);
  EXPECT_EQ(FormatAngle(-0.5 / kDegreesPerRadian, ANGLE_SIGNED, ANGLE_PREF_SAVED), "-000g.56");
}

TEST_F(SavedAngleSettings, ASavedNotationThatRefersToItselfShowsNothing) {
  SaveAngleSettings(ANGLE_PREF_SAVED, 3);
  EXPECT_EQ(FormatAngle(0.5, ANGLE_BEARING, ANGLE_PREF_SAVED), "");
  EXPECT_EQ(BuildAngleTemplate(ANGLE_BEARING, ANGLE_PREF_SAVED, 3).text, "");
}

TEST_F(SavedAngleSettings, TemplatesAndParsingFollowTheSavedNotation) {
  SaveAngleSettings(ANGLE_PREF_GRADIANS, 2);
  EXPECT_EQ(BuildAngleTemplate(ANGLE_BEARING, ANGLE_PREF_SAVED, -1).text, "399\xB0.99");
  const AngleParseResult parsed = ParseAngle("100", ANGLE_BEARING, ANGLE_PREF_SAVED);
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.radians, 100 / kGradiansPerRadian);
}

}  // namespace
}  // namespace orvale
