// The NAD 27 state-plane rows (type 12): every zone against the closed Lambert
// two-parallel or TM formula of its EPSG definition on Clarke 1866, round trips, the
// set-up the table methods derive, and the compiled zone tables against their source.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/state_plane_zones.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "support/state_plane_reference.h"

namespace orvale {
namespace {

using namespace testing;

constexpr double kSecondsPerRadian = 206264.80624709636;
constexpr double kFoot = kMetresPerUsFoot;
constexpr double kAgreementFeet = 0.05;  // TM tables against the engine's Redfearn TM
// Lambert tables compute their zone's definition.
constexpr double kLambertAgreementFeet = 0.01;
// The TM tables turn the longitude back into seconds by 57.2957795131, 3e-12 from the
// inverse of 0.017453292519943: 1e-5 ft on the central meridian.
constexpr double kMeridianFeet = 1e-4;

double Meridian(const Nad27Zone& z) {
  return z.IsTm() ? z["Longitude of natural origin"] : z["Longitude of false origin"];
}

// Lambert: latitudes between and a quarter of their separation beyond the standard
// parallels (which lie at 1/6 and 5/6 of the zone), longitudes across the area of use
// and at least 2 degrees either side of the meridian. TM: latitudes across the area of
// use, out to 1.5 degrees either side of the meridian.
std::vector<Geog> ZonePoints(const Nad27Zone& z) {
  const double meridian = Meridian(z);
  if (z.IsTm()) return PointsAcross(z.south, z.north, meridian - 1.5, meridian + 1.5, 8, 12);
  const double p1 = z["Latitude of 1st standard parallel"];
  const double p2 = z["Latitude of 2nd standard parallel"];
  const double margin = std::fabs(p1 - p2) / 4.0;
  const double west = std::min(z.west, meridian - 2.0);
  const double east = std::max(z.east, meridian + 2.0);
  return PointsAcross(std::min(p1, p2) - margin, std::max(p1, p2) + margin, west, east, 8,
                      static_cast<int>(std::ceil((east - west) / 0.5)));
}

class StatePlaneRows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(clarke_.SetBuiltIn(kClarke1866Row));
    michigan_ = clarke_;
    michigan_.m_SemiMajorAxis *= kMichiganEllipsoidScaling;
    michigan_.ComputeConstants();
    row_.m_Spheroid = &spheroid_;
  }

  CProjection& Row(int index) {
    EXPECT_TRUE(row_.SetFromCatalogue(index, PROJECTION_STATE_PLANE, 0)) << "row " << index;
    return row_;
  }

  CProjection& Zone(int code) {
    for (int index = 0; index < kStatePlaneRowCount; ++index) {
      if (CodeOf(Row(index)) == code) return row_;
    }
    ADD_FAILURE() << "no row for zone " << code;
    return row_;
  }

  // The closed form of a definition; the US form of the Lambert, which gives the scale.
  CProjection Formula(const Nad27Zone& z) {
    if (z.IsTm()) {
      return TmRecord(&clarke_, z["Latitude of natural origin"], z["Longitude of natural origin"],
                      z["False easting"], z["False northing"], z["Scale factor at natural origin"]);
    }
    return LambertRecord(z.OnMichiganSpheroid() ? &michigan_ : &clarke_, 2,
                         z["Latitude of 1st standard parallel"],
                         z["Latitude of 2nd standard parallel"], z["Latitude of false origin"],
                         z["Longitude of false origin"], z["Easting at false origin"],
                         z["Northing at false origin"]);
  }

  CSpheroid clarke_;
  CSpheroid michigan_;
  CSpheroid spheroid_;
  CProjection row_;
};

TEST(StatePlaneZones, HoldThePublishedConstantsDigitForDigit) {
  auto check = [](const auto& zones, const char* file, auto find) {
    const auto rows = ReadStatePlaneCsv(file);
    ASSERT_EQ(rows.size(), zones.size()) << file;
    for (const CsvRow& row : rows) {
      const auto* zone = find(std::stoi(row[0]));
      ASSERT_NE(zone, nullptr) << file << " zone " << row[0];
      EXPECT_EQ(zone->state, row[1]);
      EXPECT_EQ(zone->zone, row[2] == "---" ? "" : row[2]);
      for (std::size_t i = 0; i < zone->p.size(); ++i) {
        EXPECT_EQ(zone->p[i], std::strtod(row[3 + i].c_str(), nullptr)) << row[0] << " P" << i;
      }
    }
  };
  check(StatePlaneLambertZones(), "nad27_lambert.csv", FindStatePlaneLambertZone);
  check(StatePlaneTmZones(), "nad27_tm.csv", FindStatePlaneTmZone);
  EXPECT_EQ(FindStatePlaneLambertZone(101), nullptr) << "Alabama East is a TM zone";
  EXPECT_EQ(FindStatePlaneTmZone(301), nullptr) << "Arkansas North is a Lambert zone";
  EXPECT_EQ(FindStatePlaneTmZone(0), nullptr);
}

// Every row but Alaska zone 1 (oblique, checked against PROJ with the catalogue) against
// the engine's closed formula of its definition (PROJ's figures for every zone are in
// lambert_proj_reference.txt): Lambert tables (method 1) to kLambertAgreementFeet,
// convergence to 0.02" and scale to 5e-8; TM tables (method 2) and Alaska's closed TM
// (method 0) within 1.5 degrees of the meridian to kAgreementFeet (the engine's TM is a
// series), 0.01" and 1e-8 (beyond the table's own scale factor). Every point
// round-trips through the row to 1 mm, and the central meridian (-P1, as P1 is west
// positive) lies on the easting constant P0.
TEST_F(StatePlaneRows, EveryZoneAgreesWithTheFormulaOfItsDefinitionAndRoundTrips) {
  // Delaware and New Jersey carry 0.9999950281 and 0.9999750295 for the defined
  // 1 - 1/200000 and 1 - 1/40000, Rhode Island 1 - 1/160000 for EPSG's rounded 0.9999938.
  const std::map<int, double> scale_offsets = {{700, 2.81e-8}, {2900, 2.95e-8}, {3800, -5.0e-8}};
  int methods[4] = {};
  double overall = 0.0;
  std::printf("NAD 27 rows against their definitions (worst per zone):\n");
  for (int index = 0; index < kStatePlaneRowCount; ++index) {
    CProjection& row = Row(index);
    ASSERT_TRUE(row.m_Method >= 0 && row.m_Method <= 3) << row.m_Name;
    ++methods[row.m_Method];
    if (row.m_Method == 3) continue;
    const int code = CodeOf(row);
    ASSERT_TRUE(Nad27Zones().contains(code)) << row.m_Name;
    const Nad27Zone& z = Nad27Zones().at(code);
    SCOPED_TRACE(z.name);
    ASSERT_LT(z.south, z.north) << "no area of use";
    ASSERT_EQ(z.IsTm(), row.m_Method != 1) << z.method;
    CProjection formula = Formula(z);
    Worst core, outer;
    double round_trip = 0.0;
    for (const Geog& at : ZonePoints(z)) {
      GridOutputs tables = Forward(row, at);
      double latitude = 0.0, longitude = 0.0, scale = 0.0;
      const ProjectionStatus back =
          row.GridToGeog(tables.easting, tables.northing, &latitude, &longitude, nullptr, &scale);
      // Alaska zone 10 west of the antimeridian comes back too, its longitude within
      // half a turn of 0.
      EXPECT_EQ(back, ProjectionStatus::kOk);
      const double east = std::remainder(at.longitude, 360.0);
      round_trip = std::max(round_trip, GroundDistance(clarke_, {at.latitude, east},
                                                       {Degrees(latitude), Degrees(longitude)}));
      // The Lambert tables' forward scale keeps its historical form without the square
      // root of 1 - e^2 sin^2; their inverse gives it. Michigan's tables scale to the
      // spheroid itself, the formula to the enlarged one.
      if (row.m_Method == 1) tables.scale = scale;
      GridOutputs closed = Forward(formula, at);
      if (z.OnMichiganSpheroid()) closed.scale *= kMichiganEllipsoidScaling;
      (std::fabs(at.longitude - Meridian(z)) > 0.76 && z.IsTm() ? outer : core)
          .Take(tables, closed, at);
    }
    PrintWorst(row.m_Country + " " + z.name, core);
    overall = std::max(overall, core.metres);
    EXPECT_LE(round_trip, 0.001);
    if (row.m_Method == 1) {
      EXPECT_LE(core.metres, kLambertAgreementFeet * kFoot)
          << " at " << core.at.latitude << ", " << core.at.longitude;
      EXPECT_LE(core.convergence, 0.02 / kSecondsPerRadian);
      EXPECT_LE(core.scale, 5e-8);
      const Geog on_meridian{Degrees(std::asin(row.m_Param[5])) + 0.5, -row.m_Param[1] / 3600.0};
      EXPECT_NEAR(Forward(row, on_meridian).easting / kFoot, row.m_Param[0], 1e-6);
      continue;
    }
    PrintWorst("            beyond 0.75 degree of the meridian", outer);
    EXPECT_LE(core.metres, kAgreementFeet * kFoot)
        << " at " << core.at.latitude << ", " << core.at.longitude;
    EXPECT_LE(outer.metres, kAgreementFeet * kFoot);
    EXPECT_LE(core.convergence, 0.01 / kSecondsPerRadian);
    const double defined = z["Scale factor at natural origin"];
    EXPECT_LE(core.scale, 1e-8 + std::fabs(row.m_ScaleFactor - defined));
    const auto offset = scale_offsets.find(code);
    EXPECT_NEAR(row.m_ScaleFactor - defined, offset == scale_offsets.end() ? 0.0 : offset->second,
                1e-9);
    if (row.m_Method == 2) {
      EXPECT_NEAR(Forward(row, {z.north, -row.m_Param[1] / 3600.0}).easting / kFoot, row.m_Param[0],
                  kMeridianFeet);
    }
  }
  std::printf("  overall worst (TM within 0.75 degree of the meridian) %.4f ft\n", overall / kFoot);
  EXPECT_EQ(methods[0], 8) << "Alaska zones 2 to 9: closed TM";
  EXPECT_EQ(methods[1], kStatePlaneLambertZoneCount);
  EXPECT_EQ(methods[2], kStatePlaneTmZoneCount);
  EXPECT_EQ(methods[3], 1) << "Alaska zone 1: oblique Mercator";
}

// Both table methods take east-positive longitudes, whichever turn they come in: US
// points have negative longitudes, and one a full turn away projects the same.
TEST_F(StatePlaneRows, TableMethodsTakeEastPositiveLongitudesWhicheverTurn) {
  for (const int code : {301, 101}) {
    CProjection& row = Zone(code);
    const GridOutputs west = Forward(row, {35.5, -92.75 + (code == 101 ? 6.0 : 0.0)});
    const GridOutputs turned = Forward(row, {35.5, 267.25 + (code == 101 ? 6.0 : 0.0)});
    EXPECT_NEAR(west.easting, turned.easting, 1e-6);
    EXPECT_NEAR(west.northing, turned.northing, 1e-6);
    EXPECT_GT(std::fabs(Forward(row, {35.5, 92.75}).easting - west.easting), 1e5);
  }
}

// The set-up shows a Lambert table zone by the central parallel of its cone, where its
// scale is least, the west-positive P1 as its central meridian, and in feet the easting
// constant and the northing of the central parallel, which is where the tables put that
// point; a TM table zone by its scale factor, its origin on the easting constant and
// northing 0. (The derived slots the tables then read are proved by every zone's
// agreement with its definition.)
TEST_F(StatePlaneRows, SetUpShowsTheOriginWhereTheTablesPutIt) {
  const Nad27Zone& d = Nad27Zones().at(301);  // Arkansas North: P0 2000000 ft, P1 331200"
  CProjection cone = Formula(d);
  CProjection& p = Zone(301);
  EXPECT_NEAR(p.m_OriginLatitude, std::asin(cone.m_Param[0]), 0.01 / kSecondsPerRadian);
  EXPECT_NEAR(p.m_CentralMeridian, -d["Longitude of false origin"] * kRadiansPerDegree, 1e-15);
  EXPECT_EQ(p.m_ScaleFactor, 0.999935937);
  EXPECT_NEAR(p.m_ScaleFactor, cone.m_ScaleFactor, 5e-9);
  // To the precision of the published constants (the sine to 1e-10 is 0.003 ft).
  EXPECT_EQ(p.m_FalseEasting, 2000000.0);
  EXPECT_NEAR(p.m_FalseNorthing, 455289.26, 1e-6);
  const GridOutputs origin = Forward(p, {Degrees(p.m_OriginLatitude), -p.m_Param[1] / 3600.0});
  EXPECT_NEAR(origin.easting / kFoot, p.m_FalseEasting, 1e-6);
  // The published northing of the central parallel is 0.011 ft from the definition's.
  EXPECT_NEAR(origin.northing / kFoot, p.m_FalseNorthing, 0.02);

  const Nad27Zone& tm = Nad27Zones().at(101);  // Alabama East
  CProjection& q = Zone(101);
  EXPECT_EQ(q.m_ScaleFactor, tm["Scale factor at natural origin"]);
  const GridOutputs at_origin =
      Forward(q, {tm["Latitude of natural origin"], tm["Longitude of natural origin"]});
  EXPECT_NEAR(at_origin.easting / kFoot, q.m_Param[0], kMeridianFeet);
  // The published origin is a rectifying latitude to 1e-5 second: 0.001 ft; and
  // 0.0026 ft off the definition's here.
  EXPECT_NEAR(at_origin.northing / kFoot, 0.0, 0.003);
}

}  // namespace
}  // namespace orvale
