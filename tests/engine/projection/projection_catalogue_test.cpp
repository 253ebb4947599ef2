// The built-in projection catalogue: its families and their edges, every row against
// its own origin and a round trip, the US zones against their published lists and
// definitions (the NAD 27 rows against theirs: projection_state_plane_test.cpp), and
// the name and spheroid searches.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/catalogue_rows.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "support/state_plane_reference.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using namespace testing;

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
constexpr int kWgs84Row = 26;
constexpr int kAiry1830Row = 0;

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

TEST_F(Catalogue, FamiliesEndAfterTheirLastRowsAndAFailedLookUpKeepsWhatItWasGiven) {
  // UTM, state-plane and Norwegian user records are numbered from 0, behind the zones.
  const int before_records[kProjectionTypeCount] = {0, 39, 36, 10, 54, 5, 76, 2,
                                                    1, 3,  1,  4,  0,  0, 2};
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    SCOPED_TRACE(::testing::Message() << "type " << type);
    EXPECT_EQ(CProjection::CatalogueRowCount(type), before_records[type]);
    EXPECT_TRUE(projection_.SetFromCatalogue(kFamilySizes[type] - 1, type, 0));
    EXPECT_FALSE(projection_.SetFromCatalogue(kFamilySizes[type], type, 0));
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

TEST(GridZoneName, RightAlignsTheZoneAndNamesTheCentralMeridian) {
  EXPECT_EQ(CProjection::GridZoneName(5), "Grid Zone  5 (153\xB0 W)");
  EXPECT_EQ(CProjection::GridZoneName(30), "Grid Zone 30 (3\xB0 W)");
  EXPECT_EQ(CProjection::GridZoneName(31), "Grid Zone 31 (3\xB0 E)");
  EXPECT_EQ(CProjection::GridZoneName(0), "Grid Zone  0 (183\xB0 W)");
  EXPECT_EQ(CProjection::GridZoneName(61), "Grid Zone 61 (183\xB0 E)");
}

// One row as the catalogue prints it; NaN where the set-up decides the value.
struct TellingRow {
  int type, index, method;
  const char *name, *country, *spheroid;
  double latitude, longitude, false_easting, false_northing, scale_factor;
};

// Degrees come back through the two truncated conversion factors, so they are held
// to 1e-10 degree (0.01 mm); lengths and scale factors must be the printed doubles.
void ExpectPrinted(double actual, double printed, double tolerance, const char* what) {
  if (std::isnan(printed)) return;
  EXPECT_NEAR(actual, printed, tolerance) << what;
}

// The other NAD 83 rows and Alaska's closed-TM zones are held to their definitions below
// and in the state-plane test.
TEST_F(Catalogue, TellingRowsHoldTheirPrintedValues) {
  const double n = kNoValue;
  const TellingRow rows[] = {
      {0, 5, 0, "Grid Zone  5 (153\xB0 W)", "", "WGS84", 0, -153, 500000, 0, 0.9996},
      {0, 31, 1, "Grid Zone 31 (3\xB0 E)", "", "WGS84", 0, 3, 500000, 10000000, 0.9996},
      {1, 0, 0, "Ordnance Survey", "National Grid", "Airy 1830", 49, -2, 400000, -100000,
       0.9996012717},
      {1, 38, 0, "Gauss Kruger 9N", "WGS 84", "WGS84", 0, 51, 500000, 0, 1},
      {2, 0, 0, "DHDN Zone 02", "West Germany (6\xB0 E)", "Bessel 1841", 0, 6, 2500000, 0, 1},
      {2, 4, 0, "GK Zone 01", "(3\xB0 E)", "Krassowsky 1940", 0, 3, 1500000, 0, 1},
      {2, 33, 0, "GK Zone 30", "(177\xB0 E)", "Krassowsky 1940", 0, 177, 30500000, 0, 1},
      {2, 34, 0, "GK Zone 31", "(177\xB0 W)", "Krassowsky 1940", 0, -177, 31500000, 0, 1},
      {2, 35, 0, "GK Zone 32", "(171\xB0 W)", "Krassowsky 1940", 0, -171, 32500000, 0, 1},
      {3, 0, 0, "Lo 17\xB0 E", "South Africa", "Clarke 1880 (Arc)", 0, 17, 0, 0, 1},
      {3, 9, 0, "Lo 35\xB0 E", "South Africa", "Clarke 1880 (Arc)", 0, 35, 0, 0, 1},
      {4, 1, 0, "Alabama Wast", "NAD 83", "GRS80", 30, -87.5, 600000, 0, 1 - 1 / 15000.0},
      {4, 53, 0, "Wyoming West", "NAD 83", "GRS80", 40.5, -110.0833333333, 800000, 100000,
       0.9999375},
      {5, 3, 1, "NZ 168.55", "New Zealnd", "International Spheroid", -41, 168.9166666667, 500000,
       10000000, n},
      {6, 0, 0, "Jamaican National Grid", "Jamaica 1969", "Clarke 1866 Spheroid", 18, -77, 250000,
       150000, 1},
      {6, 17, 2, "Colorado North", "NAD 83", "GRS80", 39.3333333333, -105.5, 914401.8289,
       304800.6096, n},
      {6, 75, 2, "Puerto Rico/Virgin I", "NAD 83", "GRS80", 17.8333333333, -66.4333333333, 200000,
       200000, n},
      {7, 1, 0, " Grid", "Singapore", "Everest 1830 (Modified)", 1.2876466667, 103.8530022222,
       30000, 30000, 1},
      {8, 0, 0, "Agana Monument 1945", "Guam", "Clarke 1866 Spheroid", 13.4724663528,
       144.7487507056, 50000, 50000, 1},
      {9, 2, 0, "Amersfoot", "(RD) System", "Bessel 1841", 52.1561605556, 5.3876388889, 155000,
       463000, 0.9999079},
      {10, 0, 0, "Polyconic", "Brazil", "SAD 1969", 0, -54, 5000000, 10000000, 1},
      {11, 0, 0, "R.S.O.", "Borneo", "Everest 1830 (1967 Def)", 4, 115, n, n, 0.99984},
      {11, 3, 3, "Alaska (Zone 1)", "NAD 83", "GRS80", 57, -133.6666666667, n, n, 0.9999},
      {12, 0, 2, "Alabama (East)", "Code  101", "Clarke 1866 Spheroid", 30.5, -85.8333333333,
       500000 * kMetresPerUsFoot, 0, 0.99996},
      {12, 2, 3, "Alaska (Zone 1)", "Code 5001", "Clarke 1866 Spheroid", 57, -133.6666666667, n, n,
       0.9999},
      {12, 3, 0, "Alaska (Zone 2)", "Code 5002", "Clarke 1866 Spheroid", 54, -142,
       152400.30480060962, 0, 0.9999},
      {12, 31, 1, "Florida (North) ", "Code  903", "Clarke 1866 Spheroid", n, n, n, n, n},
      {12, 129, 2, "Wyoming (West)", "Code 4904", "Clarke 1866 Spheroid", 40.6666666667,
       -396300 / 3600.0, 500000 * kMetresPerUsFoot, 0, 0.9999411765},
      {13, 2, 0, "Grid Zone 33 (15\xB0 E)", "NGO (Axis III)", "International Spheroid", 0, 15,
       500000, 0, 0.9996},
      {14, 1, 0, "Seelland", "System 34", "International Spheroid", 0, 9, 500000, 0, 0.9996},
  };
  for (const TellingRow& r : rows) {
    SCOPED_TRACE(::testing::Message() << "type " << r.type << " row " << r.index);
    const CProjection& p = Row(r.index, r.type, r.method);
    EXPECT_EQ(p.m_Name, r.name);
    EXPECT_EQ(p.m_Country, r.country);
    EXPECT_EQ(spheroid_.m_Name, r.spheroid);
    EXPECT_EQ(p.m_Method, r.method);
    EXPECT_EQ(p.m_Index, r.index);
    ExpectPrinted(Degrees(p.m_OriginLatitude), r.latitude, 1e-10, "latitude of origin");
    ExpectPrinted(Degrees(p.m_CentralMeridian), r.longitude, 1e-10, "central meridian");
    ExpectPrinted(p.m_FalseEasting, r.false_easting, 0.0, "false easting");
    ExpectPrinted(p.m_FalseNorthing, r.false_northing, 0.0, "false northing");
    ExpectPrinted(p.m_ScaleFactor, r.scale_factor, 0.0, "scale factor");
  }
}

TEST_F(Catalogue, LambertUsaRowsCarryTheirStandardParallelsSmallerFirst) {
  const CProjection& california = Row(11, PROJECTION_LAMBERT);
  EXPECT_DOUBLE_EQ(california.m_StandardParallel1, 40 * kRadiansPerDegree);
  EXPECT_DOUBLE_EQ(california.m_StandardParallel2, 41.6666666667 * kRadiansPerDegree);
  for (int index = 8; index < 76; ++index) {
    const CProjection& p = Row(index, PROJECTION_LAMBERT);
    EXPECT_LT(p.m_StandardParallel1, p.m_StandardParallel2) << p.m_Name;
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

TEST_F(Catalogue, UtmKeepsTheAttachedSpheroidUnlessItIsEmpty) {
  spheroid_.SetBuiltIn(kAiry1830Row);
  Row(31, PROJECTION_UTM);
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
  spheroid_.SetAxes(0.0, 0.0);
  Row(31, PROJECTION_UTM);
  EXPECT_EQ(spheroid_.m_Name, "WGS84");
  EXPECT_EQ(spheroid_.m_SemiMajorAxis, 6378137.0);
}

TEST_F(Catalogue, NationalGridsKeepTheirAxisOrZoneAndTheUtmZoneInTheFirstSlot) {
  Row(1, PROJECTION_NORWEGIAN, 2);
  EXPECT_EQ(projection_.GridAxis(), 3) << "method 2 is NGO axis III";
  EXPECT_EQ(projection_.GridUtmZone(), 32);
  EXPECT_EQ(projection_.m_Country, "NGO (Axis II)") << "the country follows the row";
  EXPECT_DOUBLE_EQ(projection_.m_CentralMeridian, CProjection::UtmZoneCentralMeridian(32));
  Row(4, PROJECTION_NORWEGIAN, 7);
  EXPECT_EQ(projection_.GridAxis(), 8);
  EXPECT_EQ(projection_.GridUtmZone(), 35);
  for (int zone = 0; zone < 2; ++zone) {
    Row(zone, PROJECTION_DANISH);
    EXPECT_EQ(projection_.GridAxis(), zone);
    EXPECT_EQ(projection_.GridUtmZone(), 32);
    EXPECT_EQ(projection_.m_Name, zone == 0 ? "Jylland" : "Seelland");
  }
}

TEST(CatalogueWithoutSpheroid, FillsTheRowAndLeavesTheSpheroidUnset) {
  CProjection p;
  ASSERT_TRUE(p.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
  EXPECT_EQ(p.m_Spheroid, nullptr);
  EXPECT_EQ(p.m_Name, "Ordnance Survey");
  EXPECT_DOUBLE_EQ(p.m_FalseNorthing, -100000.0);
  EXPECT_TRUE(p.SetFromCatalogue(2, PROJECTION_STATE_PLANE, 0));
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
  // The exact origin (0, 0) is the empty position, which every projection maps to 0, 0.
  if (std::fabs(c.origin.latitude) < 1e-9 && std::fabs(c.origin.longitude) < 1e-9) {
    c.easting = c.northing = 0.0;
  }
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
          const GridValues origin = Forward(p, c.origin);
          EXPECT_NEAR(origin.easting, c.easting, c.tolerance);
          EXPECT_NEAR(origin.northing, c.northing, c.tolerance);
        }
        const Geog start = NearOrigin(p, c);
        const GridValues grid = Forward(p, start);
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
// against the general one), so only a wrong parameter, sign or order shows: 1 mm.
TEST_F(Catalogue, Nad83RowsAreTheZonesOfTheirNamesAndHoldToTheirDefinitions) {
  CSpheroid grs80;
  grs80.SetBuiltIn(kGrs80Row);
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

// Points of NAD 83 zones computed by PROJ 9.1.1 (cs2cs EPSG:4269 to the zone's EPSG
// CRS), metres. PROJ's transverse Mercator is the exact series, ours is Redfearn's:
// within a degree of the central meridian they agree far inside 1 mm.
TEST_F(Catalogue, RealUsPointsTakeOrdinaryLongitudesToTheirRealGridCoordinates) {
  const struct {
    int type, row;
    Geog at;
    double easting, northing;
  } points[] = {
      {PROJECTION_TM_USA, 0, {33.0, -86.0}, 184425.0782, 277207.5596},      // EPSG:26929
      {PROJECTION_TM_USA, 0, {32.3668, -86.3}, 156081.2025, 207072.6332},   // EPSG:26929
      {PROJECTION_TM_USA, 0, {31.2, -85.2}, 260357.5857, 77776.5357},       // EPSG:26929
      {PROJECTION_TM_USA, 53, {43.0, -110.5}, 766026.6988, 377738.0266},    // EPSG:32158
      {PROJECTION_TM_USA, 53, {41.5, -110.9}, 731815.4378, 211368.9732},    // EPSG:32158
      {PROJECTION_LAMBERT, 12, {37.5, -122.0}, 2000000.0000, 481497.1895},  // EPSG:26942
  };
  for (const auto& z : points) {
    CProjection& p = Row(z.row, z.type);
    const GridValues grid = Forward(p, z.at);
    EXPECT_NEAR(grid.easting, z.easting, 0.001) << p.m_Name;
    EXPECT_NEAR(grid.northing, z.northing, 0.001) << p.m_Name;
    Geog back{0.0, 0.0};
    ASSERT_EQ(p.GridToGeog(z.easting, z.northing, &back.latitude, &back.longitude),
              ProjectionStatus::kOk);
    EXPECT_LT(GroundDistance(spheroid_, z.at, {Degrees(back.latitude), Degrees(back.longitude)}),
              0.001)
        << p.m_Name;
  }
}

TEST_F(Catalogue, AlaskaZoneOneIsTheObliqueMercatorOfItsDefinition) {
  // EPSG:26731 (NAD27 / Alaska zone 1, Hotine variant A) by PROJ 9.1.1, US feet. Its
  // false origin is 16404166.67 ft, 1 mm more than the 5000000 m the row adds.
  const struct {
    Geog at;
    double easting_ft, northing_ft;
  } points[] = {{{57.0, -133.6666666667}, 2685642.8185, 1887198.4700},
                {{58.0, -135.0}, 2426988.1270, 2255083.2124},
                {{56.0, -132.0}, 3026768.7349, 1526047.8819},
                {{55.5, -131.5}, 3134812.7185, 1346361.4806}};
  CProjection& p = Row(2, PROJECTION_STATE_PLANE);
  for (const auto& point : points) {
    const GridValues grid = Forward(p, point.at);
    EXPECT_NEAR(grid.easting / kMetresPerUsFoot, point.easting_ft, 0.02) << point.at.latitude;
    EXPECT_NEAR(grid.northing / kMetresPerUsFoot, point.northing_ft, 0.02) << point.at.latitude;
  }
}

// ---------------------------------------------------------------------------------
// Searches by name and spheroid

class CatalogueSearch : public testing::TemporaryDrives {
 protected:
  CatalogueSearch() { projection_.m_Spheroid = &spheroid_; }
  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(CatalogueSearch, FindsARowByNameAndCountryOrItsOwnTextsOnTheAttachedSpheroid) {
  spheroid_.SetBuiltIn(kAiry1830Row);
  ASSERT_TRUE(projection_.FindByName("Ordnance Survey", "National Grid", 1));
  EXPECT_EQ(projection_.m_Index, 0);
  EXPECT_EQ(projection_.m_Spheroid, &spheroid_);
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
  EXPECT_DOUBLE_EQ(projection_.m_FalseNorthing, -100000.0);
  double e = 0.0, n = 0.0;
  ASSERT_EQ(projection_.GeogToGrid(52.657570306 * kRadiansPerDegree,
                                   1.717921583 * kRadiansPerDegree, &e, &n),
            ProjectionStatus::kOk);
  EXPECT_NEAR(e, 651409.903, 0.01) << "set up on the restored spheroid";

  spheroid_.SetBuiltIn(kGrs80Row);
  ASSERT_TRUE(projection_.FindByName("Irish", "GPS Grid", 1));
  EXPECT_EQ(projection_.m_Index, 3);

  spheroid_.SetBuiltIn(kClarke1866Row);
  projection_.SetNames("Wyoming (West)", "Code 4904");
  ASSERT_TRUE(projection_.FindByName(PROJECTION_STATE_PLANE)) << "by the record's own texts";
  EXPECT_EQ(projection_.m_Index, 129);
  EXPECT_EQ(projection_.m_Method, 2);
}

TEST_F(CatalogueSearch, RejectsAnotherSpellingAndARowOnAnotherSpheroidAndClearsTheParameters) {
  spheroid_.SetBuiltIn(kAiry1830Row);
  EXPECT_FALSE(projection_.FindByName("ordnance survey", "National Grid", 1)) << "case matters";
  EXPECT_FALSE(projection_.FindByName("Ordnance Survey", "", 1));
  spheroid_.SetBuiltIn(kWgs84Row);
  EXPECT_FALSE(projection_.FindByName("Ordnance Survey", "National Grid", 1));
  EXPECT_EQ(spheroid_.m_Name, "WGS84") << "the spheroid is never changed by a failed search";
  EXPECT_EQ(projection_.m_Name, "Ordnance Survey");
  EXPECT_EQ(projection_.m_Country, "National Grid");
  const CProjection& p = projection_;
  EXPECT_EQ(std::vector<double>({p.m_OriginLatitude, p.m_CentralMeridian, p.m_FalseEasting,
                                 p.m_FalseNorthing, p.m_ScaleFactor}),
            std::vector<double>({0, 0, 0, 0, 1}));
}

TEST_F(CatalogueSearch, ReadsUtmAndNorwegianZonesFromTheNameAndKeepsTheUtmHemisphere) {
  projection_.m_Method = 1;
  ASSERT_TRUE(projection_.FindByName("Grid Zone 31 (3\xB0 E)", "", PROJECTION_UTM));
  EXPECT_EQ(projection_.m_Zone, 31);
  EXPECT_EQ(projection_.m_FalseNorthing, 10000000.0);
  ASSERT_TRUE(projection_.FindByName("Grid Zone  5 (153\xB0 W)", "", PROJECTION_UTM));
  EXPECT_EQ(projection_.m_Zone, 5);
  EXPECT_FALSE(projection_.FindByName("Grid Zone 75", "", PROJECTION_UTM));
  // A Norwegian zone, on axis I.
  ASSERT_TRUE(projection_.FindByName("Grid Zone 33 (15\xB0 E)", "", PROJECTION_NORWEGIAN));
  EXPECT_EQ(projection_.m_Index, 2);
  EXPECT_EQ(projection_.GridAxis(), 1);
  // A zone outside 31 ... 35 is read as 32, whose name this is not.
  EXPECT_FALSE(projection_.FindByName("Grid Zone 40 (57\xB0 E)", "", PROJECTION_NORWEGIAN));
}

// The zones' rows set spheroids of their own (International for the Norwegian grid,
// WGS84 for UTM on an empty spheroid); a search only reads them.
TEST_F(CatalogueSearch, NeverChangesTheAttachedSpheroidWhateverTheType) {
  spheroid_.SetBuiltIn(kAiry1830Row);
  ASSERT_TRUE(projection_.FindByName("Grid Zone 33 (15\xB0 E)", "", PROJECTION_NORWEGIAN));
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
  EXPECT_EQ(projection_.m_Country, "NGO (Axis III)");
  EXPECT_FALSE(projection_.FindByName("Grid Zone 40 (57\xB0 E)", "", PROJECTION_NORWEGIAN));
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
  spheroid_.SetAxes(0.0, 0.0);
  ASSERT_TRUE(projection_.FindByName("Grid Zone 31 (3\xB0 E)", "", PROJECTION_UTM));
  EXPECT_EQ(spheroid_.m_SemiMajorAxis, 0.0);
  EXPECT_EQ(projection_.GeogToGrid(0.9, 0.05, nullptr, nullptr),
            ProjectionStatus::kInvalidProjection)
      << "set up on the attached spheroid";
}

TEST_F(CatalogueSearch, MatchSpheroidMovesToTheFirstRowOfTheTypeOnTheSpheroidOrToUtmZone31) {
  ASSERT_TRUE(projection_.SetFromIndex(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
  projection_.MatchSpheroid();
  EXPECT_EQ(projection_.m_Index, 0) << "a row on its own spheroid stays";
  const struct {
    int type, spheroid, index;
    const char* name;
  } moves[] = {{PROJECTION_TRANSVERSE_MERCATOR, kGrs80Row, 1, "OSGRS80 Grid"},
               {PROJECTION_GAUSS_KRUGER, 21, 4, "GK Zone 01"}};  // DHDN on Bessel to Krassowsky
  for (const auto& move : moves) {
    ASSERT_TRUE(projection_.SetFromIndex(0, move.type, 0));
    spheroid_.SetBuiltIn(move.spheroid);
    projection_.MatchSpheroid();
    EXPECT_EQ(projection_.m_Index, move.index);
    EXPECT_EQ(projection_.m_Name, move.name);
  }
  ASSERT_TRUE(projection_.SetFromIndex(0, PROJECTION_CASSINI_SOLDNER, 0));
  spheroid_.SetBuiltIn(kGrs80Row);
  projection_.MatchSpheroid();
  EXPECT_EQ(projection_.m_Type, PROJECTION_UTM) << "no Cassini row on GRS80";
  EXPECT_EQ(projection_.m_Zone, 31);
  EXPECT_EQ(projection_.m_Method, 0);
  EXPECT_EQ(spheroid_.m_Name, "GRS80");

  ASSERT_TRUE(projection_.SetFromIndex(40, PROJECTION_UTM, 1));
  spheroid_.SetBuiltIn(kAiry1830Row);
  projection_.MatchSpheroid();
  EXPECT_EQ(projection_.m_Zone, 40) << "a UTM zone never moves";
  EXPECT_EQ(projection_.m_Method, 1);
}

}  // namespace
}  // namespace orvale
