// The built-in projection catalogue: its families and their edges, the rows built by
// rule, every row against its own origin, a round trip and its record file, and the US
// zones against their published lists and definitions (the NAD 27 rows against their
// tables: projection_state_plane_test.cpp; points of rows computed by PROJ are cases in
// tests/data/projections/catalogue_points.txt).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/catalogue_rows.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/text_encoding.h"
#include "support/state_plane_reference.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using namespace testing;

// Families in type order: the built-in rows each type holds.
constexpr int kFamilySizes[kProjectionTypeCount] = {62, 39, 36, 10, 54,  5, 76, 2,
                                                    1,  3,  1,  4,  130, 5, 2};

class Catalogue : public ::testing::Test {
 protected:
  Catalogue() { projection_.m_Spheroid = &spheroid_; }

  CProjection& Row(int index, int type, int method = 0) {
    EXPECT_TRUE(projection_.SetFromCatalogue(index, type, method))
        << "type " << type << " row " << index;
    return projection_;
  }

  CSpheroid spheroid_;
  CProjection projection_;
};

// (That each family ends after its last row: EveryRow below.)
TEST_F(Catalogue, CountsEachFamilysRowsAndAFailedLookUpKeepsWhatItWasGiven) {
  // UTM, state-plane and Norwegian user records are numbered from 0, behind the zones.
  const int before_records[kProjectionTypeCount] = {0, 39, 36, 10, 54, 5, 76, 2,
                                                    1, 3,  1,  4,  0,  0, 2};
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    SCOPED_TRACE(::testing::Message() << "type " << type);
    EXPECT_EQ(CProjection::CatalogueRowCount(type), before_records[type]);
    EXPECT_FALSE(projection_.SetFromCatalogue(-1, type, 0));
  }
  for (int type : {-1, 15}) {
    EXPECT_EQ(CProjection::CatalogueRowCount(type), 0);
    EXPECT_FALSE(projection_.SetFromCatalogue(0, type, 0));
  }
  // A failed look-up takes the index, type and method it was given; the row stays.
  Row(0, PROJECTION_TRANSVERSE_MERCATOR);
  EXPECT_FALSE(projection_.SetFromCatalogue(39, PROJECTION_TRANSVERSE_MERCATOR, 3));
  EXPECT_EQ(projection_.m_Index, 39);
  EXPECT_EQ(projection_.m_Type, PROJECTION_TRANSVERSE_MERCATOR);
  EXPECT_EQ(projection_.m_Method, 3);
  EXPECT_TRUE(projection_.m_NamedRow);
  EXPECT_EQ(projection_.m_Name, "Ordnance Survey") << "the row itself is not touched";
}

// Degrees come back through the two truncated conversion factors, so they are held
// to 1e-10 degree (0.01 mm); lengths and scale factors must be the stated doubles.
TEST_F(Catalogue, RowsBuiltByRuleHoldTheValuesOfTheirRules) {
  for (const TextRow& row : ReadTextTable("catalogue/generated_rows.txt", 6)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> key = row.Numbers(0);
    const CProjection& p =
        Row(static_cast<int>(key.at(1)), static_cast<int>(key.at(0)), static_cast<int>(key.at(2)));
    EXPECT_EQ(Cp1252ToUtf8(p.m_Name), row.fields[1]);
    EXPECT_EQ(Cp1252ToUtf8(p.m_Country), row.fields[2]);
    EXPECT_EQ(spheroid_.m_Name, row.fields[3]);
    EXPECT_EQ(p.m_Method, std::stoi(row.fields[4]));
    const std::vector<double> v = row.Numbers(5);
    const double actual[] = {Degrees(p.m_OriginLatitude), Degrees(p.m_CentralMeridian),
                             p.m_FalseEasting, p.m_FalseNorthing, p.m_ScaleFactor};
    for (std::size_t i = 0; i < std::size(actual); ++i) {
      if (std::isnan(v.at(i))) continue;  // decided by the set-up
      EXPECT_NEAR(actual[i], v[i], i < 2 ? 1e-10 : 0.0) << "value " << i;
    }
  }
}

TEST_F(Catalogue, UtmWithAnUnknownHemisphereKeepsItsParametersButTakesTheZoneName) {
  Row(0, PROJECTION_TRANSVERSE_MERCATOR);
  const double meridian = projection_.m_CentralMeridian;
  EXPECT_TRUE(projection_.SetFromCatalogue(10, PROJECTION_UTM, 7));
  EXPECT_EQ(projection_.m_Method, 0);
  EXPECT_EQ(projection_.m_CentralMeridian, meridian);
  EXPECT_EQ(projection_.m_FalseNorthing, -100000.0);
  EXPECT_EQ(projection_.m_Name, "Grid Zone 10 (123\xB0 W)");
  EXPECT_EQ(projection_.m_Country, "");
  EXPECT_EQ(projection_.m_Zone, 10);
}

// A row sets its spheroid only on a projection that has one attached, and UTM only
// when the attached spheroid is empty.
TEST_F(Catalogue, RowsSetTheAttachedSpheroidAndUtmOnlyAnEmptyOne) {
  EXPECT_TRUE(spheroid_.SetBuiltIn(kAiry1830Row));
  Row(31, PROJECTION_UTM);
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
  spheroid_.SetAxes(0.0, 0.0);
  Row(31, PROJECTION_UTM);
  EXPECT_EQ(spheroid_.m_Name, "WGS84");
  EXPECT_EQ(spheroid_.m_SemiMajorAxis, 6378137.0);
  CProjection bare;
  ASSERT_TRUE(bare.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
  EXPECT_EQ(std::tie(bare.m_Spheroid, bare.m_Name, bare.m_FalseNorthing),
            std::tuple(nullptr, "Ordnance Survey", -100000.0));
  EXPECT_TRUE(bare.SetFromCatalogue(2, PROJECTION_STATE_PLANE, 0));
}

TEST_F(Catalogue, NationalGridsKeepTheirAxisOrZoneAndTheUtmZoneInTheFirstSlot) {
  Row(1, PROJECTION_NORWEGIAN, 2);
  EXPECT_EQ(projection_.NorwegianAxis(), 3) << "method 2 is NGO axis III";
  EXPECT_EQ(projection_.NationalGridUtmZone(), 32);
  EXPECT_EQ(projection_.m_Country, "NGO (Axis II)") << "the country follows the row";
  EXPECT_DOUBLE_EQ(projection_.m_CentralMeridian, CProjection::UtmZoneCentralMeridian(32));
  Row(4, PROJECTION_NORWEGIAN, 7);
  EXPECT_EQ(projection_.NorwegianAxis(), 8);
  EXPECT_EQ(projection_.NationalGridUtmZone(), 35);
  for (int zone = 0; zone < 2; ++zone) {
    Row(zone, PROJECTION_DANISH);
    EXPECT_EQ(projection_.NorwegianAxis(), zone);
    EXPECT_EQ(projection_.NationalGridUtmZone(), 32);
    EXPECT_EQ(projection_.m_Name, zone == 0 ? "Jylland" : "Seelland");
  }
}

// ---------------------------------------------------------------------------------
// Every row: its own origin and a round trip

// Where a row's origin lies and what it projects to: (phi0, lambda0) -> (FE, FN), save
// that Mercator's origin is on the equator, the south-orientated TM negates its false
// origin, and the Lambert tables keep FE and FN in US feet and lambda0 west positive,
// with the origin on the central parallel (asin P5). The Norwegian and Danish grids have
// no false origin of their own (theirs is the UTM zone's) and only round-trip.
struct OriginCheck {
  bool has_origin = true;
  Geog origin{0.0, 0.0};
  double easting = 0.0, northing = 0.0;
  double tolerance = 0.001;   // metres, at the origin
  double round_trip = 0.001;  // metres, beside it
};

// Mercator and the RSO invert the isometric latitude by an iteration that stops once a
// step is under 0.001" (3 cm), halving the error each round: within about 1.5 cm.
constexpr double kIsometricInverseLoss = 0.03;

OriginCheck OriginOf(const CProjection& p) {
  const int type = p.m_Type, method = p.m_Method;
  OriginCheck c;
  c.origin = {Degrees(p.m_OriginLatitude), Degrees(p.m_CentralMeridian)};
  c.easting = p.m_FalseEasting;
  c.northing = p.m_FalseNorthing;
  if (type == PROJECTION_MERCATOR) c.origin.latitude = 0.0;
  if (type == PROJECTION_MERCATOR || type == PROJECTION_RSO ||
      (type == PROJECTION_STATE_PLANE && method == 3)) {
    c.round_trip = kIsometricInverseLoss;
  }
  if (type == PROJECTION_TM_SOUTH_ORIENTATED) c.easting = -c.easting, c.northing = -c.northing;
  if (type == PROJECTION_NORWEGIAN || type == PROJECTION_DANISH) c.has_origin = false;
  // Zealand lies 2 to 3.6 degrees from the UTM meridian: the TM series loses mm.
  if (type == PROJECTION_DANISH && p.m_Index == 1) c.round_trip = 0.005;
  if (type == PROJECTION_STATE_PLANE && method == 1) {
    c.origin = {Degrees(std::asin(p.m_Param[5])), -std::fabs(c.origin.longitude)};
    c.easting *= kMetresPerUsFoot;
    c.northing *= kMetresPerUsFoot;
    // The central parallel as a sine (P5) and as a rectifying latitude (P6, P7)
    // disagree by up to 0.0025" (7.4 cm of northing in Texas Central).
    c.tolerance = 0.1;
  }
  // The TM tables hold the origin only as a rectifying latitude to 0.00001", turned
  // geodetic by their short series: 4.6 mm off in New Jersey, under 1 mm elsewhere.
  if (type == PROJECTION_STATE_PLANE && method == 2) c.tolerance = 0.01;
  return c;
}

// A point a little way from the origin, toward the equator and the prime meridian
// (so that no row is pushed past a pole or the antimeridian).
Geog NearOrigin(const CProjection& p, const OriginCheck& c) {
  if (p.m_Type == PROJECTION_NORWEGIAN) {
    // Inside Norway in each UTM zone, with the axis that covers it.
    const Geog in_zone[] = {{61.0, 5.0}, {60.0, 10.0}, {66.0, 13.5}, {69.6, 21.0}, {69.6, 25.0}};
    return in_zone[p.m_Index];
  }
  if (p.m_Type == PROJECTION_DANISH) return p.m_Index == 0 ? Geog{56.0, 9.5} : Geog{55.5, 11.8};
  const double step = 0.1;
  return {c.origin.latitude + (c.origin.latitude > 0 ? -step : step),
          c.origin.longitude + (c.origin.longitude > 0 ? -step : step)};
}

TEST_F(Catalogue, EveryRowProjectsItsOriginToItsFalseOriginAndRoundTripsBesideIt) {
  const int norwegian_axis_method[] = {0, 0, 3, 5, 6};  // the axis covering NearOrigin's point
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    for (int index = 0; index < kFamilySizes[type]; ++index) {
      for (int m = 0; m < (type == PROJECTION_UTM ? 2 : 1); ++m) {  // UTM: both hemispheres
        const int method = type == PROJECTION_NORWEGIAN ? norwegian_axis_method[index] : m;
        CProjection& p = Row(index, type, method);
        SCOPED_TRACE(::testing::Message() << "type " << type << " row " << index << " method "
                                          << p.m_Method << " (" << p.m_Name << ")");
        const bool unnamed = type == PROJECTION_UTM || (type == PROJECTION_MERCATOR && index == 0);
        EXPECT_EQ(p.m_NamedRow, !unnamed) << "only UTM zones and the general Mercator are unnamed";
        const OriginCheck c = OriginOf(p);
        if (c.has_origin) {
          const GridOutputs origin = Forward(p, c.origin);
          EXPECT_NEAR(origin.easting, c.easting, c.tolerance);
          EXPECT_NEAR(origin.northing, c.northing, c.tolerance);
        }
        const Geog start = NearOrigin(p, c);
        const GridOutputs grid = Forward(p, start);
        Geog back{0.0, 0.0};
        EXPECT_EQ(p.GridToGeog(grid.easting, grid.northing, &back.latitude, &back.longitude),
                  ProjectionStatus::kOk);
        back = {Degrees(back.latitude), Degrees(back.longitude)};
        EXPECT_LT(GroundDistance(spheroid_, start, back), c.round_trip)
            << "from " << start.latitude << ", " << start.longitude << " to " << back.latitude
            << ", " << back.longitude;
      }
    }
  }
}

// ---------------------------------------------------------------------------------
// Every row: a name of its own, numbers, and a record file that gives it back

// What a record file keeps of a projection.
auto Kept(const CProjection& p) {
  return std::tuple(
      p.m_Name, p.m_Country, p.m_Spheroid->m_Name, p.m_Spheroid->m_Country, p.m_Type, p.m_Method,
      std::array{p.m_OriginLatitude, p.m_CentralMeridian, p.m_FalseEasting, p.m_FalseNorthing,
                 p.m_ScaleFactor, p.m_StandardParallel1, p.m_StandardParallel2});
}

class EveryRow : public TemporaryDrives {};

TEST_F(EveryRow, IsNamedOnceInItsTypeHoldsNumbersAndComesBackFromItsRecordFile) {
  TestProjection row, read;  // each on a spheroid of its own
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    std::set<std::pair<std::string, std::string>> names;
    for (int index = 0; row.SetFromCatalogue(index, type, 0); ++index) {
      SCOPED_TRACE(::testing::Message() << "type " << type << " row " << index);
      EXPECT_TRUE(names.emplace(row.m_Name, row.m_Country).second) << "a second " << row.m_Name;
      const auto kept = Kept(row);
      for (double value : std::get<6>(kept))
        EXPECT_TRUE(std::isfinite(value));
      for (double value : row.m_Param)
        EXPECT_TRUE(std::isfinite(value));
      ASSERT_TRUE(row.WriteRecordFile("Row"));
      read.m_Param = row.m_Param;  // not stored: a record keeps what it held before
      ASSERT_TRUE(read.ReadRecordFile("Row"));
      EXPECT_EQ(Kept(read), kept);
    }
    EXPECT_EQ(static_cast<int>(names.size()), kFamilySizes[type]) << "type " << type;
  }
}

// ---------------------------------------------------------------------------------
// US zones against their published lists and definitions

// The words of a zone name, lower case, without the words every list adds ("zone",
// "CS27", "Coordinate System", "State Plane", "Old") and with the catalogue's own
// historical spellings and abbreviations read as the standard ones.
std::vector<std::string> ZoneWords(const std::string& name) {
  static const std::set<std::string> kNoise = {"zone",  "cs27",  "coordinate", "system",
                                               "state", "plane", "old",        "&"};
  static const std::map<std::string, std::string> kSpellings = {
      {"wast", "west"},          {"indianna", "indiana"},
      {"oregan", "oregon"},      {"pennysylvania", "pennsylvania"},
      {"mass", "massachusetts"}, {"m'land", "mainland"},
      {"islands", "i"}};
  std::string text;
  for (char c : name) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    text += (lower == '(' || lower == ')' || lower == '/') ? ' ' : lower;
  }
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    if (kNoise.count(word)) continue;
    const auto spelled = kSpellings.find(word);
    words.push_back(spelled != kSpellings.end() ? spelled->second : word);
  }
  return words;
}

// The zone code in a NAD 27 row's country text names the zone in the geometric
// definitions, whose formulas the state-plane test holds each row to.
TEST_F(Catalogue, EveryNad27RowIsTheZoneOfItsNameInThePublishedDefinitions) {
  std::set<int> codes;
  for (int index = 0; index < kStatePlaneRowCount; ++index) {
    const CProjection& p = Row(index, PROJECTION_STATE_PLANE);
    const int code = CodeOf(p);
    codes.insert(code);
    ASSERT_TRUE(Nad27Zones().contains(code)) << p.m_Name << " code " << code;
    const std::string& defined = Nad27Zones().at(code).name;
    EXPECT_EQ(ZoneWords(p.m_Name), ZoneWords(defined)) << p.m_Name << " / " << defined;
  }
  EXPECT_EQ(codes.size(), 130u) << "every zone once";
}

// "1 - 1/25000" as the definitions give their scale factors.
double ExactScale(const std::string& text) {
  const auto slash = text.find('/');
  return slash == std::string::npos ? 1.0 : 1.0 - 1.0 / std::stod(text.substr(slash + 1));
}

// Each NAD 83 row is the zone of its name and code in the published list, and its
// definition: same spheroid, and for TM the same formulas (the Lambert rows' US form
// against the general one), so only a wrong parameter, sign or order shows: 1 mm. A
// Lambert row's standard parallels, which could be 1e-5 degree out within that, are
// held to the printed digits, the smaller first.
TEST_F(Catalogue, Nad83RowsAreTheZonesOfTheirNamesAndHoldToTheirDefinitions) {
  CSpheroid grs80;
  EXPECT_TRUE(grs80.SetBuiltIn(kGrs80Row));
  std::printf("  NAD 83 rows against their definitions (worst per zone):\n");
  for (const bool tm : {true, false}) {
    const std::vector<CsvRow> zones = ReadStatePlaneCsv(tm ? "nad83_tm.csv" : "nad83_lambert.csv");
    const int type = tm ? PROJECTION_TM_USA : PROJECTION_LAMBERT;
    const int first_row = tm ? 0 : 8;
    ASSERT_EQ(static_cast<int>(zones.size()) + first_row, kFamilySizes[type]);
    for (std::size_t k = 0; k < zones.size(); ++k) {
      auto v = [&](int field) { return std::stod(zones[k][static_cast<std::size_t>(field)]); };
      CProjection& row = Row(first_row + static_cast<int>(k), type);
      EXPECT_EQ(ZoneWords(row.m_Name), ZoneWords(zones[k][2]))
          << row.m_Name << " / " << zones[k][2];
      EXPECT_EQ(row.m_Country, "NAD 83");
      EXPECT_EQ(tm ? catalogue::TmUsaRows()[k].code : catalogue::LambertUsaRows()[k].code,
                std::stoi(zones[k][0]))
          << row.m_Name;
      CProjection definition =
          tm ? TmRecord(&grs80, v(3), v(4), v(7), v(8), ExactScale(zones[k][6]))
             : LambertRecord(&grs80, 1, v(3), v(4), v(5), v(6), v(7), v(8));
      if (tm) {
        EXPECT_EQ(row.m_ScaleFactor, definition.m_ScaleFactor) << row.m_Name;
      } else {  // the smaller parallel first, to the digits of the definition
        EXPECT_NEAR(Degrees(row.m_StandardParallel1), std::min(v(3), v(4)), 1e-10) << row.m_Name;
        EXPECT_NEAR(Degrees(row.m_StandardParallel2), std::max(v(3), v(4)), 1e-10) << row.m_Name;
      }
      // TM: 0.5 to 4 degrees north of the origin, 1 degree either side of the meridian;
      // Lambert: 0.5 degree beyond the standard parallels, 2 degrees either side.
      const double meridian = tm ? v(4) : v(6);
      const double south = tm ? v(3) + 0.5 : std::min(v(3), v(4)) - 0.5;
      const double north = tm ? v(3) + 4.0 : std::max(v(3), v(4)) + 0.5;
      const double half_width = tm ? 1.0 : 2.0;
      Worst w;
      for (const Geog& at :
           PointsAcross(south, north, meridian - half_width, meridian + half_width, 6, 6)) {
        w.Take(Forward(row, at), Forward(definition, at), at);
      }
      PrintWorst(row.m_Name, w);
      EXPECT_LT(w.metres, 0.001) << row.m_Name << " at " << w.at.latitude << ", " << w.at.longitude;
    }
  }
}

}  // namespace
}  // namespace orvale
