// Look-up among the built-in rows and the record files: catalogue indexes, the search
// by name and spheroid, and the move to a row on the attached spheroid.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/storage/data_folders.h"
#include "support/projection_fixture.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using namespace testing;

class ProjectionLookup : public testing::TemporaryDrives {
 protected:
  ProjectionLookup() {
    EXPECT_TRUE(spheroid_.SetBuiltIn(kAiry1830Row));
    projection_.m_Spheroid = &spheroid_;
  }

  // The index, country and file title of the record after SetFromIndex.
  auto Loaded(int index, int type) {
    EXPECT_TRUE(projection_.SetFromIndex(index, type, 0)) << index;
    return std::tuple(projection_.m_Index, projection_.m_Country, projection_.m_FileTitle);
  }

  CSpheroid spheroid_;
  CProjection projection_;
};

// Records of a type follow its built-in rows in file-name order; a damaged record takes
// no index, so every index listed loads.
TEST_F(ProjectionLookup, NumbersTheRecordsThatLoadAfterTheBuiltInRowsOfTheirType) {
  SaveProjectionRecord("B Second", PROJECTION_TRANSVERSE_MERCATOR, "Site", "B Second");
  SaveProjectionRecord("A First", PROJECTION_TRANSVERSE_MERCATOR, "Site", "A First");
  SaveProjectionRecord("AA Mercator", PROJECTION_MERCATOR, "Site",
                       "AA Mercator");  // between them, of another type
  SaveProjectionRecord("AB Broken", PROJECTION_TRANSVERSE_MERCATOR, "Site", "AB Broken");
  const std::string broken = RecordFolder() + "AB Broken.PRJ";
  WriteBytes(broken, ReadBytes(broken).substr(0, ReadBytes(broken).size() - 1));  // block cut
  const ProjectionRecordsByType records = ListProjectionRecords();
  EXPECT_EQ(records.files[PROJECTION_TRANSVERSE_MERCATOR],
            (std::vector<std::string>{"A First.PRJ", "B Second.PRJ"}));
  EXPECT_EQ(records.unreadable, std::vector<std::string>{"AB Broken.PRJ"});

  std::string title, path;
  EXPECT_FALSE(CProjection::FindUserRecord(38, PROJECTION_TRANSVERSE_MERCATOR, title, path));
  ASSERT_TRUE(CProjection::FindUserRecord(40, PROJECTION_TRANSVERSE_MERCATOR, title, path));
  EXPECT_EQ(std::tie(title, path), std::tuple("B Second", RecordFolder() + "B Second.PRJ"));
  EXPECT_FALSE(CProjection::FindUserRecord(41, PROJECTION_TRANSVERSE_MERCATOR, title, path));
  EXPECT_EQ(Loaded(39, PROJECTION_TRANSVERSE_MERCATOR), std::tuple(39, "A First", "A First"));
  EXPECT_EQ(Loaded(5, PROJECTION_MERCATOR), std::tuple(5, "AA Mercator", "AA Mercator"));
  EXPECT_EQ(Loaded(38, PROJECTION_TRANSVERSE_MERCATOR), std::tuple(38, "WGS 84", ""))
      << "a built-in row has no file";
  EXPECT_FALSE(projection_.SetFromIndex(41, PROJECTION_TRANSVERSE_MERCATOR, 0));
}

TEST_F(ProjectionLookup, BuiltInZonesShadowUserRecordsOfTheSameIndex) {
  for (int type : {PROJECTION_UTM, PROJECTION_STATE_PLANE, PROJECTION_NORWEGIAN}) {
    const std::string record = "Zone record " + std::to_string(type);
    SaveProjectionRecord(record, type, "Site", record);
    std::string title, path;
    ASSERT_TRUE(CProjection::FindUserRecord(0, type, title, path));
    EXPECT_EQ(title, record);
    const auto [index, country, file_title] = Loaded(0, type);
    EXPECT_NE(country, record) << "the built-in row 0 wins";
    EXPECT_EQ(file_title, "");
  }
  SaveProjectionRecord("Danish record", PROJECTION_DANISH, "Site", "Danish record");
  EXPECT_EQ(Loaded(2, PROJECTION_DANISH), std::tuple(2, "Danish record", "Danish record"))
      << "numbered after Jylland and Seelland";
}

TEST_F(ProjectionLookup, FindsARowByNameAndCountryOrItsOwnTextsOnTheAttachedSpheroid) {
  ASSERT_TRUE(projection_.FindByName("Ordnance Survey", "National Grid", 1));
  EXPECT_EQ(std::tie(projection_.m_Index, projection_.m_Spheroid, spheroid_.m_Name),
            std::tuple(0, &spheroid_, "Airy 1830"));
  double e = 0.0, n = 0.0;
  ASSERT_EQ(projection_.GeogToGrid(52.657570306 * kRadiansPerDegree,
                                   1.717921583 * kRadiansPerDegree, &e, &n),
            ProjectionStatus::kOk);
  EXPECT_NEAR(e, 651409.903, 0.01) << "set up on the restored spheroid";

  EXPECT_TRUE(spheroid_.SetBuiltIn(kGrs80Row));
  ASSERT_TRUE(projection_.FindByName("Irish", "GPS Grid", 1));
  EXPECT_EQ(projection_.m_Index, 3);

  EXPECT_TRUE(spheroid_.SetBuiltIn(kClarke1866Row));
  projection_.SetNames("Wyoming (West)", "Code 4904");
  ASSERT_TRUE(projection_.FindByName(PROJECTION_STATE_PLANE)) << "by the record's own texts";
  EXPECT_EQ(std::tie(projection_.m_Index, projection_.m_Method), std::tuple(129, 2));
}

TEST_F(ProjectionLookup, RejectsAnotherSpellingAndARowOnAnotherSpheroidAndClearsTheParameters) {
  EXPECT_FALSE(projection_.FindByName("ordnance survey", "National Grid", 1)) << "case matters";
  EXPECT_FALSE(projection_.FindByName("Ordnance Survey", "", 1));
  EXPECT_TRUE(spheroid_.SetBuiltIn(kWgs84Row));
  EXPECT_FALSE(projection_.FindByName("Ordnance Survey", "National Grid", 1));
  EXPECT_EQ(spheroid_.m_Name, "WGS84") << "the spheroid is never changed by a failed search";
  const CProjection& p = projection_;
  EXPECT_EQ(std::tie(p.m_Name, p.m_Country), std::tuple("Ordnance Survey", "National Grid"));
  EXPECT_EQ(std::vector<double>({p.m_OriginLatitude, p.m_CentralMeridian, p.m_FalseEasting,
                                 p.m_FalseNorthing, p.m_ScaleFactor}),
            std::vector<double>({0, 0, 0, 0, 1}));
}

TEST_F(ProjectionLookup, FindByNameTakesTheFirstRecordWithTheNameOnlyOnTheSameSpheroid) {
  SaveProjectionRecord("On Airy", PROJECTION_CASSINI_SOLDNER, "Mine", "On Airy");
  CSpheroid wgs84;
  SaveProjectionRecord("A on WGS84", PROJECTION_CASSINI_SOLDNER, "Mine", "On WGS84", &wgs84);
  SaveProjectionRecord("B same name on WGS84", PROJECTION_CASSINI_SOLDNER, "Mine", "On Airy",
                       &wgs84);

  // Files in name order: "A on WGS84", "B same name on WGS84", "On Airy".
  EXPECT_FALSE(projection_.FindByName("Mine", "On Airy", PROJECTION_CASSINI_SOLDNER))
      << "the first record of that name is on another spheroid, which ends the search";
  EXPECT_EQ(std::tie(projection_.m_Spheroid, spheroid_.m_Name),
            std::tuple(&spheroid_, "Airy 1830"));
  EXPECT_TRUE(spheroid_.SetBuiltIn(kWgs84Row));
  ASSERT_TRUE(projection_.FindByName("Mine", "On Airy", PROJECTION_CASSINI_SOLDNER));
  EXPECT_EQ(std::tie(projection_.m_FileTitle, projection_.m_Index, spheroid_.m_Name),
            std::tuple("B same name on WGS84", 2 + 1, "WGS84"));
  projection_.m_FileTitle = "Own";
  EXPECT_FALSE(projection_.FindByName("Mine", "Nowhere", PROJECTION_CASSINI_SOLDNER));
  EXPECT_EQ(projection_.m_FileTitle, "Own") << "a failed search must not leave a file to overwrite";
}

// Zone rows set spheroids of their own (International for the Norwegian grid, WGS84 for
// UTM on an empty spheroid); a search only reads them.
TEST_F(ProjectionLookup, FindsZonesByTheNumberInTheNameAndLeavesTheSpheroidAlone) {
  ASSERT_TRUE(projection_.FindByName("Grid Zone 33 (15\xB0 E)", "", PROJECTION_NORWEGIAN));
  EXPECT_EQ(std::tie(projection_.m_Index, projection_.m_Country, spheroid_.m_Name),
            std::tuple(2, "NGO (Axis III)", "Airy 1830"));
  EXPECT_EQ(projection_.NorwegianAxis(), 1) << "the first axis whose row has the name";
  // A zone outside 31 ... 35 is read as 32, whose name this is not.
  for (const char* name : {"Grid Zone 40 (57\xB0 E)", "Grid Zone -2147483648", "Grid Zone x"})
    EXPECT_FALSE(projection_.FindByName(name, "", PROJECTION_NORWEGIAN)) << name;
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");

  projection_.m_Method = 1;
  ASSERT_TRUE(projection_.FindByName("Grid Zone  5 (153\xB0 W)", "", PROJECTION_UTM));
  EXPECT_EQ(std::tie(projection_.m_Zone, projection_.m_FalseNorthing), std::tuple(5, 1e7))
      << "the hemisphere is kept";
  EXPECT_FALSE(projection_.FindByName("Grid Zone 75", "", PROJECTION_UTM));
  spheroid_.SetAxes(0.0, 0.0);
  ASSERT_TRUE(projection_.FindByName("Grid Zone 31 (3\xB0 E)", "", PROJECTION_UTM));
  EXPECT_EQ(spheroid_.m_SemiMajorAxis, 0.0);
  EXPECT_EQ(projection_.GeogToGrid(0.9, 0.05, nullptr, nullptr),
            ProjectionStatus::kInvalidProjection)
      << "set up on the attached spheroid";
}

TEST_F(ProjectionLookup, MatchSpheroidMovesToTheFirstRowOfTheTypeOnTheSpheroidOrToUtmZone31) {
  const struct {
    int type, index, spheroid, moved_to;
  } moves[] = {{PROJECTION_TRANSVERSE_MERCATOR, 0, kAiry1830Row, 0},  // on its own: stays
               {PROJECTION_TRANSVERSE_MERCATOR, 0, kGrs80Row, 1},     // OSGRS80 Grid
               {PROJECTION_GAUSS_KRUGER, 0, kKrassowskyRow, 4},       // DHDN to GK Zone 01
               {PROJECTION_CASSINI_SOLDNER, 0, kGrs80Row, 31},        // none: UTM zone 31
               {PROJECTION_UTM, 40, kAiry1830Row, 40}};               // a zone never moves
  for (const auto& move : moves) {
    ASSERT_TRUE(projection_.SetFromIndex(move.index, move.type, move.type == PROJECTION_UTM));
    EXPECT_TRUE(spheroid_.SetBuiltIn(move.spheroid));
    projection_.MatchSpheroid();
    const bool to_utm = move.type == PROJECTION_CASSINI_SOLDNER;
    EXPECT_EQ(std::tie(projection_.m_Type, projection_.m_Index),
              std::tuple(to_utm ? PROJECTION_UTM : move.type, move.moved_to));
    EXPECT_EQ(projection_.m_Method, move.type == PROJECTION_UTM) << "north, save the zone kept";
    EXPECT_EQ(spheroid_.m_Index, move.spheroid) << "the spheroid is the one set";
  }
}

}  // namespace
}  // namespace orvale
