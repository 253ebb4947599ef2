// The datum shift dispatcher: every shift type in both directions from tables of
// hand-checkable cases, the side effects on the datum (Norwegian entries, NADCON status
// texts, NTv2 last positions), points outside a grid and grids that are missing.

#include "orvale/engine/datum/shift_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "datum_fixture.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/gridshift/norway.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/storage/data_folders.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::AttachedDatum;
using testing::TextRow;

constexpr double kMicrometre = 1e-6;
constexpr double kRadianNanodegree = 1e-9 * kRadiansPerDegree;

double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}

// A datum attached to a WGS84 target on UTM zone 31, its own side the same.
struct ShiftFixture : AttachedDatum {
  ShiftFixture() {
    EXPECT_TRUE(target.SetBuiltIn(testing::kWgs84));
    target_projection.Initialise();
  }
};

// The from and to records of one shift, the input given by latitude and longitude on
// the input side's projection.
struct Records {
  tagCOORD from, to;
  tagCOORD& Input(int direction) { return direction == kShiftForward ? from : to; }
  tagCOORD& Output(int direction) { return direction == kShiftForward ? to : from; }
};

CProjection* InputProjection(CDatum& datum, int direction) {
  return direction == kShiftForward ? &datum.m_Projection : datum.m_TargetProjection;
}

void ExpectSameRecord(const tagCOORD& a, const tagCOORD& b) {
  const double as[] = {a.easting, a.northing, a.longitude,   a.latitude,     a.x,    a.y,
                       a.z,       a.height,   a.convergence, a.scale_factor, a.spare};
  const double bs[] = {b.easting, b.northing, b.longitude,   b.latitude,     b.x,    b.y,
                       b.z,       b.height,   b.convergence, b.scale_factor, b.spare};
  for (std::size_t i = 0; i < std::size(as); ++i)
    EXPECT_EQ(as[i], bs[i]) << "field " << i;
}

TEST(ShiftPosition, NoDatumShiftCopiesAndProjectsOnTheInputSide) {
  for (const int direction : {kShiftForward, kShiftReverse}) {
    SCOPED_TRACE(direction);
    ShiftFixture f;
    ASSERT_TRUE(f.datum.SetFromCatalogue(kNoDatumShift, 0, 1));
    // The two sides on different zones: the output's grid is the input side's.
    ASSERT_TRUE(f.target_projection.SetFromCatalogue(30, PROJECTION_UTM, 0));
    Records r;
    SetGeogPoint(r.Input(direction), InputProjection(f.datum, direction), Radians(52.5), 100.0,
                 Radians(1.5));
    r.Input(direction).spare = 7.0;
    r.Output(direction).easting = -1.0;  // overwritten
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kShifted);
    ExpectSameRecord(r.Output(direction), r.Input(direction));
  }
}

TEST(ShiftPosition, HelmertTypesAreHelmertTransformBetweenTheCartesianConversions) {
  for (const TextRow& row : testing::ReadTextTable("datum/shift_helmert.txt", 3)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> entry = row.Numbers(0), in = row.Numbers(2);
    const int direction = static_cast<int>(row.Numbers(1)[0]);
    ShiftFixture f;
    ASSERT_TRUE(
        f.datum.SetFromCatalogue(static_cast<int>(entry[0]), static_cast<int>(entry[1]), 1));
    const CSpheroid& input_side = direction == kShiftForward ? f.datum.m_Spheroid : f.target;
    const CSpheroid& output_side = direction == kShiftForward ? f.target : f.datum.m_Spheroid;
    Records r;
    SetGeogPoint(r.Input(direction), InputProjection(f.datum, direction), Radians(in[0]), in[2],
                 Radians(in[1]));
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kShifted);

    double x = 0, y = 0, z = 0, latitude = 0, longitude = 0, height = 0;
    GeogToCartesian(input_side, Radians(in[0]), Radians(in[1]), in[2], x, y, z);
    HelmertTransform(f.datum, direction, x, y, z, x, y, z);
    ASSERT_TRUE(CartesianToGeog(output_side, x, y, z, latitude, longitude, height));
    const tagCOORD& out = r.Output(direction);
    EXPECT_NEAR(out.x, x, kMicrometre);
    EXPECT_NEAR(out.y, y, kMicrometre);
    EXPECT_NEAR(out.z, z, kMicrometre);
    EXPECT_NEAR(out.latitude, latitude, kRadianNanodegree);
    EXPECT_NEAR(out.longitude, longitude, kRadianNanodegree);
    EXPECT_NEAR(out.height, height, kMicrometre);
    // The grid values are the output side's projection of the result.
    CProjection& projection =
        direction == kShiftForward ? f.target_projection : f.datum.m_Projection;
    double easting = 0, northing = 0;
    ASSERT_EQ(projection.GeogToGrid(out.latitude, out.longitude, &easting, &northing),
              ProjectionStatus::kOk);
    EXPECT_EQ(out.easting, easting);
    EXPECT_EQ(out.northing, northing);
  }
}

TEST(ShiftPosition, AHelmertTranslationMovesTheCartesianPositionByItself) {
  ShiftFixture f;
  f.datum.m_ShiftType = kUserDefinedShifts;
  f.datum.m_Shift.m_DX = 10.0;
  f.datum.m_Shift.m_DY = -20.0;
  f.datum.m_Shift.m_DZ = 30.5;
  Records r;
  r.from.x = 4000000.0;
  r.from.y = 100000.0;
  r.from.z = 4900000.0;
  ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, kShiftForward), ShiftStatus::kShifted);
  EXPECT_EQ(r.to.x, 4000010.0);
  EXPECT_EQ(r.to.y, 99980.0);
  EXPECT_EQ(r.to.z, 4900030.5);
  // Without a target side only X, Y, Z are written.
  f.datum.m_TargetProjection = nullptr;
  f.datum.m_TargetSpheroid = nullptr;
  tagCOORD untouched;
  untouched.latitude = 9.0;
  ASSERT_EQ(ShiftPosition(f.datum, r.from, untouched, kShiftForward), ShiftStatus::kShifted);
  EXPECT_EQ(untouched.latitude, 9.0);
  EXPECT_EQ(untouched.x, 4000010.0);
}

TEST(ShiftPosition, LatLonShiftsAddAndTakeOffTheirValuesAndRoundTrip) {
  for (const TextRow& row : testing::ReadTextTable("datum/shift_latlon.txt", 4)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> shift = row.Numbers(0), in = row.Numbers(2), out = row.Numbers(3);
    const int direction = static_cast<int>(row.Numbers(1)[0]);
    ShiftFixture f;
    f.datum.m_ShiftType = kLatLonShifts;
    f.datum.m_DLat = shift[0];
    f.datum.m_DLon = shift[1];
    f.datum.m_DHeight = shift[2];
    Records r;
    SetGeogPoint(r.Input(direction), nullptr, Radians(in[0]), in[2], Radians(in[1]));
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kShifted);
    EXPECT_NEAR(r.Output(direction).latitude, Radians(out[0]), 1e-15);
    EXPECT_NEAR(r.Output(direction).longitude, Radians(out[1]), 1e-15);
    EXPECT_NEAR(r.Output(direction).height, out[2], 1e-12);
    // And back again, to the last bits.
    const tagCOORD start = r.Input(direction);
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, -direction), ShiftStatus::kShifted);
    EXPECT_NEAR(r.Input(direction).latitude, start.latitude, 1e-15);
    EXPECT_NEAR(r.Input(direction).longitude, start.longitude, 1e-15);
    EXPECT_NEAR(r.Input(direction).height, start.height, 1e-12);
  }
}

TEST(ShiftPosition, GridShiftsAreTheAffineMapAndItsExactInverse) {
  for (const TextRow& row : testing::ReadTextTable("datum/shift_grid.txt", 5)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> origin = row.Numbers(0), axes = row.Numbers(1), in = row.Numbers(3),
                              out = row.Numbers(4);
    const int direction = static_cast<int>(row.Numbers(2)[0]);
    ShiftFixture f;
    f.datum.m_Grid.m_GridE0 = origin[0];
    f.datum.m_Grid.m_GridN0 = origin[1];
    f.datum.m_Grid.m_GridRotation = axes[0];
    f.datum.m_Grid.m_GridScaleE = axes[1];
    f.datum.m_Grid.m_GridScaleN = axes[2];
    f.datum.DeriveGridShift();
    Records r;
    SetGridPoint(r.Input(direction), InputProjection(f.datum, direction), in[1], 5.0, in[0]);
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kShifted);
    const tagCOORD& result = r.Output(direction);
    EXPECT_NEAR(result.easting, out[0], kMicrometre);
    EXPECT_NEAR(result.northing, out[1], kMicrometre);
    EXPECT_EQ(result.height, 5.0);
    // The output side's projection gives the rest of the record.
    double latitude = 0.0, longitude = 0.0;
    CProjection& projection =
        direction == kShiftForward ? f.target_projection : f.datum.m_Projection;
    ASSERT_EQ(projection.GridToGeog(result.easting, result.northing, &latitude, &longitude),
              ProjectionStatus::kOk);
    EXPECT_NEAR(result.latitude, latitude, 1e-14);
    EXPECT_NEAR(result.longitude, longitude, 1e-14);
    // A pure translation goes back exactly.
    if (axes[0] == 0.0 && axes[1] <= 1.0 && axes[2] <= 1.0) {
      const tagCOORD start = r.Input(direction);
      ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, -direction), ShiftStatus::kShifted);
      EXPECT_EQ(r.Input(direction).easting, start.easting);
      EXPECT_EQ(r.Input(direction).northing, start.northing);
    }
  }
}

// Grid files written by the tests into a drive of their own.
class GridShiftTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_FALSE(RecordFolder().empty());  // made on first asking
  }
  static testing::NadconGridLayout Constant(float xmin, float ymin, int size, float value) {
    testing::NadconGridLayout grid;
    grid.columns = grid.rows = size;
    grid.xmin = xmin;
    grid.ymin = ymin;
    grid.dx = grid.dy = 1.0f;
    grid.values.assign(static_cast<std::size_t>(size * size), value);
    return grid;
  }
  static void WriteNadconRegion(const std::string& code, float xmin, float ymin, int size,
                                float las, float los) {
    WriteBytes(InGlobal(code + ".las"), testing::NadconFileBytes(Constant(xmin, ymin, size, las)));
    WriteBytes(InGlobal(code + ".los"), testing::NadconFileBytes(Constant(xmin, ymin, size, los)));
  }
  // 45N to 46N, 75W to 76W at 5', shifts 4.5" north and 9" east.
  static testing::NTv2SubGridLayout CanadaGrid() {
    testing::NTv2SubGridLayout grid;
    grid.name = "TESTGRID";
    grid.south = 45 * 3600.0;
    grid.north = 46 * 3600.0;
    grid.east = 75 * 3600.0;
    grid.west = 76 * 3600.0;
    grid.lat_increment = grid.lon_increment = 300.0;
    testing::FillNodes(grid, [](int, int) { return std::pair(4.5, -9.0); });
    return grid;
  }
};

TEST_F(GridShiftTest, NadconStepsRunInTheOrderOfTheNumberAndNameTheirRegion) {
  WriteNadconRegion("CONUS", -100.0f, 30.0f, 11, 9.0f, -18.0f);
  WriteNadconRegion("ALHPGN", -96.0f, 32.0f, 5, 4.5f, 2.25f);
  for (const TextRow& row : testing::ReadTextTable("datum/shift_nadcon.txt", 5)) {
    SCOPED_TRACE(row.where);
    const int number = static_cast<int>(row.Numbers(0)[0]);
    const int direction = static_cast<int>(row.Numbers(1)[0]);
    const std::vector<double> in = row.Numbers(2), out = row.Numbers(3);
    ShiftFixture f;
    ASSERT_TRUE(f.datum.SetFromCatalogue(kNadconShifts, number, 1));
    Records r;
    SetGeogPoint(r.Input(direction), nullptr, Radians(in[0]), 12.0, Radians(in[1]));
    const ShiftStatus status = ShiftPosition(f.datum, r.from, r.to, direction);
    EXPECT_EQ(status, out[0] == 0.0 ? ShiftStatus::kOutsideGrid : ShiftStatus::kShifted);
    EXPECT_NEAR(r.Output(direction).latitude * kDegreesPerRadian, out[0], 1e-9);
    EXPECT_NEAR(r.Output(direction).longitude * kDegreesPerRadian, out[1], 1e-9);
    EXPECT_EQ(r.Output(direction).height, 12.0);
    EXPECT_EQ(f.datum.m_ShiftStatus, row[4]);
  }
  // A number beyond the table leaves both records alone.
  ShiftFixture f;
  f.datum.m_ShiftType = kNadconShifts;
  f.datum.m_Number = 6;
  Records r;
  r.from.latitude = Radians(34.5);
  r.to.latitude = 1.0;
  EXPECT_EQ(ShiftPosition(f.datum, r.from, r.to, kShiftForward), ShiftStatus::kNotApplied);
  EXPECT_EQ(r.to.latitude, 1.0);
}

TEST_F(GridShiftTest, Ntv2AppliesGoingBackAndInvertsGoingForward) {
  WriteBytes(InGlobal("ntv2_0.gsb"), testing::NTv2FileBytes({CanadaGrid()}));
  ShiftFixture f;
  ASSERT_TRUE(f.datum.SetFromCatalogue(kCanadaNtv2, 0, 1));
  for (const TextRow& row : testing::ReadTextTable("datum/shift_ntv2.txt", 4)) {
    SCOPED_TRACE(row.where);
    const int direction = static_cast<int>(row.Numbers(0)[0]);
    const std::vector<double> in = row.Numbers(1), out = row.Numbers(2);
    Records r;
    SetGeogPoint(r.Input(direction), InputProjection(f.datum, direction), Radians(in[0]), 3.0,
                 Radians(in[1]));
    // An earlier point's values must not survive in the output.
    r.Output(direction).latitude = r.Output(direction).easting = 1.0;
    const ShiftStatus status = ShiftPosition(f.datum, r.from, r.to, direction);
    if (row[3] == "outside") {
      EXPECT_EQ(status, ShiftStatus::kOutsideGrid);
      ExpectSameRecord(r.Output(direction), r.Input(direction));
      continue;
    }
    EXPECT_EQ(status, ShiftStatus::kShifted);
    // The grid works on the position truncated to 0.00001".
    EXPECT_NEAR(r.Output(direction).latitude * kDegreesPerRadian, out[0], 1e-8);
    EXPECT_NEAR(r.Output(direction).longitude * kDegreesPerRadian, out[1], 1e-8);
    EXPECT_EQ(r.Output(direction).height, 3.0);
    if (direction == kShiftReverse) {
      EXPECT_EQ(f.datum.m_NTv2.m_LastInputLatitude, r.to.latitude);
      EXPECT_EQ(f.datum.m_NTv2.m_LastOutputLongitude, r.from.longitude);
    }
  }
}

TEST_F(GridShiftTest, MissingGridFilesLeaveThePointAsItWasAndSaySo) {
  ShiftFixture f;
  ASSERT_TRUE(f.datum.SetFromCatalogue(kCanadaNtv2, 0, 1));
  Records r;
  SetGeogPoint(r.from, &f.datum.m_Projection, Radians(45.5), 0.0, Radians(-75.5));
  EXPECT_EQ(ShiftPosition(f.datum, r.from, r.to, kShiftForward), ShiftStatus::kNoGrid);
  ExpectSameRecord(r.to, r.from);
  ::setenv("ORVALE_PROGRAM_DIR", Root().c_str(), 1);
  f.datum.m_ShiftType = kOrdnanceSurvey;
  r.to = {};
  EXPECT_EQ(ShiftPosition(f.datum, r.from, r.to, kShiftForward), ShiftStatus::kNoGrid);
  ExpectSameRecord(r.to, r.from);
  ::unsetenv("ORVALE_PROGRAM_DIR");
}

TEST(ShiftPosition, UnknownTypesAndDirectionsTouchNothing) {
  ShiftFixture f;
  Records r;
  r.from.latitude = 0.5;
  r.to.latitude = 0.25;
  for (const auto& [type, direction] :
       {std::pair(10, 1), std::pair(-1, 1), std::pair(0, 0), std::pair(8, 2), std::pair(1, -2)}) {
    f.datum.m_ShiftType = type;
    EXPECT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kNotApplied);
    EXPECT_EQ(r.from.latitude, 0.5);
    EXPECT_EQ(r.to.latitude, 0.25);
  }
}

TEST(ShiftPosition, NorwegianEntriesBecomeTheEntryOfTheirHalfAt62North) {
  for (const TextRow& row : testing::ReadTextTable("datum/shift_norway_entries.txt", 4)) {
    SCOPED_TRACE(row.where);
    const int entry = static_cast<int>(row.Numbers(0)[0]);
    const double latitude = Radians(row.Numbers(1)[0]);
    const int direction = static_cast<int>(row.Numbers(2)[0]);
    ShiftFixture f;
    ASSERT_TRUE(f.datum.SetFromCatalogue(kNorwegianShifts, entry, 1));
    Records r;
    SetGeogPoint(r.Input(direction), InputProjection(f.datum, direction), latitude, 0.0,
                 Radians(8.0));
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kShifted);
    const int after = static_cast<int>(row.Numbers(3)[0]);
    EXPECT_EQ(f.datum.m_Number, after);
    // Still the entry in its own sense: WGS 84 on the own side, its parameters unsigned.
    EXPECT_EQ(f.datum.m_FromName, "WGS 84");
    EXPECT_EQ(f.datum.m_Shift.m_DX, HelmertEntries(kNorwegianShifts)[after].dx);
    double x = 0, y = 0, z = 0;
    HelmertTransform(f.datum, direction, r.Input(direction).x, r.Input(direction).y,
                     r.Input(direction).z, x, y, z);
    EXPECT_EQ(r.Output(direction).x, x);
    EXPECT_EQ(r.Output(direction).z, z);
  }
}

TEST(ShiftPosition, NorwegianBandsMeetInTheBlendAtBothEdges) {
  for (const TextRow& row : testing::ReadTextTable("datum/shift_norway.txt", 3)) {
    SCOPED_TRACE(row.where);
    const double latitude = Radians(row.Numbers(0)[0]), longitude = Radians(9.0);
    const int direction = static_cast<int>(row.Numbers(1)[0]);
    ShiftFixture f;
    ASSERT_TRUE(f.datum.SetFromCatalogue(kNorwegianShifts, 0, 1));
    Records r;
    SetGeogPoint(r.Input(direction), InputProjection(f.datum, direction), latitude, 50.0,
                 longitude);
    ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, direction), ShiftStatus::kShifted);
    const auto band = row[2] == "south"   ? &NorwegianSouth
                      : row[2] == "north" ? &NorwegianNorth
                                          : &NorwegianBlend;
    double lat = 0, lon = 0, h = 0;
    band(f.datum, lat, lon, h, direction, latitude, longitude, 50.0);
    EXPECT_EQ(r.Output(direction).latitude, lat);
    EXPECT_EQ(r.Output(direction).longitude, lon);
    EXPECT_EQ(r.Output(direction).height, h);
    // Inside a band the three methods differ, so the match names the band; at the
    // edges the blend meets its neighbour by design.
    const double degrees = row.Numbers(0)[0];
    if (degrees == 62.0 || degrees == 65.0) continue;
    for (const auto other : {&NorwegianSouth, &NorwegianNorth, &NorwegianBlend}) {
      if (other == band) continue;
      double other_lat = 0, other_lon = 0, other_h = 0;
      other(f.datum, other_lat, other_lon, other_h, direction, latitude, longitude, 50.0);
      EXPECT_TRUE(other_lat != lat || other_lon != lon || other_h != h)
          << "the bands agree at this latitude";
    }
  }
}

TEST_F(GridShiftTest, OrdnanceSurveyGoesThroughTheGridPairBothWays) {
  testing::NTv2SubGridLayout grid;
  grid.name = "OSTN15";
  grid.south = 49 * 3600.0;
  grid.north = 51 * 3600.0;
  grid.east = -2 * 3600.0;  // 2E to 2W, positive west
  grid.west = 2 * 3600.0;
  grid.lat_increment = grid.lon_increment = 1800.0;
  // Constant shifts there and back, so that the round trip closes.
  testing::FillNodes(grid, [](int, int) { return std::pair(-1.5, 4.0); });
  const std::string folder = Root() + "/";
  WriteBytes("C:\\" + std::string(kOstnEtrsToOsgbFileName),
             testing::OstnFileBytes(grid, testing::OstnFileSense::kEtrsToOsgb));
  testing::FillNodes(grid, [](int, int) { return std::pair(1.5, -4.0); });
  WriteBytes("C:\\" + std::string(kOstnOsgbToEtrsFileName),
             testing::OstnFileBytes(grid, testing::OstnFileSense::kOsgbToEtrs));
  ::setenv("ORVALE_PROGRAM_DIR", folder.c_str(), 1);
  ShiftFixture f;
  ASSERT_TRUE(f.datum.SetFromCatalogue(kOrdnanceSurvey, 0, 1));
  OstnGridPair pair;
  ASSERT_TRUE(LoadOstnGrids(pair, folder).ok());

  Records r;
  SetGeogPoint(r.from, &f.datum.m_Projection, Radians(50.2), 40.0, Radians(-0.7));
  ASSERT_EQ(ShiftPosition(f.datum, r.from, r.to, kShiftForward), ShiftStatus::kShifted);
  double easting = 0, northing = 0;
  ASSERT_TRUE(OstnForward(pair, easting, northing, r.from.latitude, r.from.longitude));
  EXPECT_EQ(r.to.easting, easting);
  EXPECT_EQ(r.to.northing, northing);
  EXPECT_EQ(r.to.height, 40.0);

  // Back from the National Grid position to ETRS89.
  Records back;
  SetGridPoint(back.to, f.datum.m_TargetProjection, northing, 40.0, easting);
  ASSERT_EQ(ShiftPosition(f.datum, back.from, back.to, kShiftReverse), ShiftStatus::kShifted);
  double latitude = 0, longitude = 0, e = 0, n = 0;
  ASSERT_EQ(f.target_projection.GeogToGrid(back.to.latitude, back.to.longitude, &e, &n),
            ProjectionStatus::kOk);
  ASSERT_TRUE(OstnReverse(pair, latitude, longitude, n, e));
  EXPECT_EQ(back.from.latitude, latitude);
  EXPECT_EQ(back.from.longitude, longitude);
  EXPECT_NEAR(back.from.latitude, r.from.latitude, 1e-11);
  EXPECT_NEAR(back.from.longitude, r.from.longitude, 1e-11);

  // Outside the grid the input comes through, and the status says so.
  Records outside;
  SetGeogPoint(outside.from, &f.datum.m_Projection, Radians(55.0), 0.0, Radians(-0.7));
  outside.to.easting = 1.0;
  EXPECT_EQ(ShiftPosition(f.datum, outside.from, outside.to, kShiftForward),
            ShiftStatus::kOutsideGrid);
  ExpectSameRecord(outside.to, outside.from);
  ::unsetenv("ORVALE_PROGRAM_DIR");
}

}  // namespace
}  // namespace orvale
