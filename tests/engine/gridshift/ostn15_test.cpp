// OSTN15: the National Grid's transverse Mercator against the Ordnance Survey's worked
// example and PROJ's exact mapping, and the grid pair's steps on files in the
// Ordnance Survey's layout whose shifts are linear, so that every interpolated shift
// is known exactly: inside and outside, the inclusive and the excluded edges, the
// loader's sharing of the arrays.

#include "orvale/engine/gridshift/ostn15.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/datum.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

constexpr double kAiryA = 6377563.396, kAiryB = 6356256.909;
constexpr double kSecondsPerRadian = 206264.80624716;

double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}

TEST(OsNationalGridTest, MatchesTheOrdnanceSurveyAndProjBothWays) {
  const OstnConstants airy = MakeOstnConstants(kAiryA, kAiryB);
  // The Ordnance Survey publishes to the millimetre; PROJ's rows hold micrometres.
  for (const auto& [file, tolerance] : {std::pair{"gridshift/national_grid_os.txt", 0.0006},
                                        std::pair{"gridshift/national_grid_proj.txt", 2e-6}}) {
    for (const testing::TextRow& row : testing::ReadTextTable(file, 2)) {
      SCOPED_TRACE(row.where);
      const std::vector<double> geog = row.Numbers(0), grid = row.Numbers(1);
      double easting = 0.0, northing = 0.0;
      NationalGridForward(airy, easting, northing, Radians(geog[0]), Radians(geog[1]));
      EXPECT_NEAR(easting, grid[0], tolerance);
      EXPECT_NEAR(northing, grid[1], tolerance);
      // Back from the published grid position: the tolerance over the ground, in radians.
      double latitude = 0.0, longitude = 0.0;
      NationalGridInverse(airy, latitude, &longitude, grid[0], grid[1]);
      const double angle = tolerance / kAiryB;
      EXPECT_NEAR(latitude, Radians(geog[0]), angle);
      EXPECT_NEAR(longitude, Radians(geog[1]), angle / std::cos(latitude));
    }
  }
}

TEST(OsNationalGridTest, ConstantsBlockHoldsThePrintedSeries) {
  const OstnConstants airy = MakeOstnConstants(kAiryA, kAiryB);
  EXPECT_NEAR(airy.one_minus_e2, (kAiryB / kAiryA) * (kAiryB / kAiryA), 1e-15);
  // M0 by the printed e⁶ series: the meridian arc to 49°N (5429228.601642 m by PROJ's
  // exact mapping) within the 0.4 mm that series loses there.
  EXPECT_NEAR(airy.M0, 5429228.601642, 0.0005);
}

// A pair over 50°N to 51°N and 2°E to 0°E, every 15 minutes, whose shifts are
// linear in the node's row and column, so that bilinear interpolation gives exactly
// the same linear function between the nodes.
constexpr double kSouth = 180000.0, kNorth = 183600.0, kEast = -7200.0, kWest = 0.0;
constexpr double kStep = 900.0;

struct LinearShift {
  double lat0, lat_row, lat_column;  // seconds, per row and per column
  double lon0, lon_row, lon_column;  // seconds, positive west

  // The shift at fractional row y and column x.
  std::pair<double, double> At(double y, double x) const {
    return {lat0 + lat_row * y + lat_column * x, lon0 + lon_row * y + lon_column * x};
  }
};

constexpr LinearShift kToOsgb{1.0, 0.25, 0.125, -2.0, 0.5, -0.0625};
constexpr LinearShift kToEtrs{-1.5, 0.125, -0.25, 3.0, -0.375, 0.25};

testing::NTv2SubGridLayout Layout(const LinearShift& shift) {
  testing::NTv2SubGridLayout grid{"OSTN15", "NONE", kSouth, kNorth, kEast,
                                  kWest,    kStep,  kStep,  {},     {}};
  testing::FillNodes(grid, [&](int row, int column) { return shift.At(row, column); });
  return grid;
}

// Fractional row and column of a position (radians).
std::pair<double, double> GridPlace(double latitude, double longitude) {
  return {(latitude * kSecondsPerRadian - kSouth) / kStep,
          (-longitude * kSecondsPerRadian - kEast) / kStep};
}

class OstnPairTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    folder_ = Root() + "/program/";
    std::filesystem::create_directories(folder_);
  }

  void WritePair(const LinearShift& to_osgb, const LinearShift& to_etrs) {
    WriteBytes(folder_ + std::string(kOstnEtrsToOsgbFileName),
               testing::OstnFileBytes(Layout(to_osgb), testing::OstnFileSense::kEtrsToOsgb));
    WriteBytes(folder_ + std::string(kOstnOsgbToEtrsFileName),
               testing::OstnFileBytes(Layout(to_etrs), testing::OstnFileSense::kOsgbToEtrs));
  }

  OstnGridPair Loaded() {
    OstnGridPair pair;
    const GridFileStatus status = LoadOstnGrids(pair, folder_);
    EXPECT_TRUE(status.ok()) << status.reason;
    return pair;
  }

  std::string folder_;
};

TEST_F(OstnPairTest, StepsApplyTheInterpolatedShiftBothWays) {
  WritePair(kToOsgb, kToEtrs);
  const OstnGridPair pair = Loaded();
  ASSERT_FALSE(pair.IsEmpty());
  EXPECT_EQ(pair.m_Columns, 9);
  EXPECT_NEAR(pair.m_Source.a, kAiryA, 0.0) << "the National Grid is on the source ellipsoid";
  EXPECT_NEAR(pair.m_Target.a, 6378137.0, 0.0);
  for (const testing::TextRow& row : testing::ReadTextTable("gridshift/ostn15_points.txt", 1)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> degrees = row.Numbers(0);
    const double latitude = Radians(degrees[0]), longitude = Radians(degrees[1]);
    // Forward: the shift at the ETRS89 position, then the National Grid.
    const auto [y, x] = GridPlace(latitude, longitude);
    const auto [lat_shift, lon_shift] = kToOsgb.At(y, x);
    double expected_e = 0.0, expected_n = 0.0;
    NationalGridForward(pair.m_Source, expected_e, expected_n, latitude + Radians(lat_shift / 3600),
                        longitude - Radians(lon_shift / 3600));
    double easting = 0.0, northing = 0.0;
    ASSERT_TRUE(OstnForward(pair, easting, northing, latitude, longitude));
    EXPECT_NEAR(easting, expected_e, 1e-6);
    EXPECT_NEAR(northing, expected_n, 1e-6);
    // Reverse from that grid position: the second grid's shift where the National Grid
    // puts it.
    double grid_lat = 0.0, grid_lon = 0.0;
    NationalGridInverse(pair.m_Source, grid_lat, &grid_lon, easting, northing);
    const auto [y2, x2] = GridPlace(grid_lat, grid_lon);
    const auto [back_lat, back_lon] = kToEtrs.At(y2, x2);
    double etrs_lat = 0.0, etrs_lon = 0.0;
    ASSERT_TRUE(OstnReverse(pair, etrs_lat, etrs_lon, northing, easting));
    EXPECT_NEAR(etrs_lat, grid_lat + Radians(back_lat / 3600), 1e-13);
    EXPECT_NEAR(etrs_lon, grid_lon - Radians(back_lon / 3600), 1e-13);
  }
}

TEST_F(OstnPairTest, OppositeConstantShiftsReturnToTheStart) {
  WritePair({0.75, 0, 0, -1.25, 0, 0}, {-0.75, 0, 0, 1.25, 0, 0});
  const OstnGridPair pair = Loaded();
  const double latitude = Radians(50.4321), longitude = Radians(1.2345);
  double easting = 0.0, northing = 0.0, back_lat = 0.0, back_lon = 0.0;
  ASSERT_TRUE(OstnForward(pair, easting, northing, latitude, longitude));
  ASSERT_TRUE(OstnReverse(pair, back_lat, back_lon, northing, easting));
  EXPECT_NEAR(back_lat, latitude, 1e-14);  // 0.06 micrometres
  EXPECT_NEAR(back_lon, longitude, 1e-14);
}

// The extent is inclusive, but the north row and the west column have no next node.
TEST_F(OstnPairTest, EdgesAreInsideOnTheSouthAndEastOnly) {
  WritePair(kToOsgb, kToEtrs);
  const OstnGridPair pair = Loaded();
  const auto inside = [&](double latitude, double longitude) {
    double easting = -1.0, northing = -1.0;
    const bool found = OstnForward(pair, easting, northing, latitude, longitude);
    if (!found) {
      EXPECT_EQ(easting, -1.0) << "outputs are left alone outside";
      EXPECT_EQ(northing, -1.0);
    }
    return found;
  };
  // The least latitude and the greatest longitude the extent test lets in.
  const auto first_at_or_above = [](double seconds) {
    double r = seconds / kSecondsPerRadian;
    while (r * kSecondsPerRadian < seconds)
      r = std::nextafter(r, 1.0);
    while (std::nextafter(r, -1.0) * kSecondsPerRadian >= seconds)
      r = std::nextafter(r, -1.0);
    return r;
  };
  const double south = first_at_or_above(kSouth), east = -first_at_or_above(kEast);
  const double middle_lat = Radians(50.5), middle_lon = Radians(1.0);
  EXPECT_TRUE(inside(south, middle_lon));
  EXPECT_FALSE(inside(std::nextafter(south, 0.0), middle_lon));
  EXPECT_TRUE(inside(middle_lat, east));
  EXPECT_FALSE(inside(middle_lat, std::nextafter(east, 1.0)));
  EXPECT_TRUE(inside(south, east)) << "the south-east corner";
  EXPECT_FALSE(inside(first_at_or_above(kNorth), middle_lon)) << "the north row";
  EXPECT_TRUE(inside(std::nextafter(first_at_or_above(kNorth), 0.0), middle_lon));
  EXPECT_FALSE(inside(middle_lat, 0.0)) << "the west column";
  EXPECT_FALSE(inside(Radians(52.0), middle_lon));
  EXPECT_FALSE(inside(std::numeric_limits<double>::quiet_NaN(), middle_lon));
  // The reverse looks up where the National Grid puts the point: far off, nothing.
  double latitude = -1.0, longitude = -1.0;
  EXPECT_FALSE(OstnReverse(pair, latitude, longitude, 1000000.0, 400000.0));
  EXPECT_EQ(latitude, -1.0);
}

TEST_F(OstnPairTest, ArraysAreReadOnceAndSharedUntilTheFilesChange) {
  WritePair(kToOsgb, kToEtrs);
  const OstnGridPair first = Loaded();
  const OstnGridPair again = Loaded();
  EXPECT_EQ(first.m_Nodes.get(), again.m_Nodes.get());
  ::setenv("ORVALE_PROGRAM_DIR", folder_.c_str(), 1);
  const CDatum datum;
  const CDatum copy(datum);
  ::unsetenv("ORVALE_PROGRAM_DIR");
  EXPECT_EQ(datum.m_OstnGrid.m_Nodes.get(), first.m_Nodes.get()) << "every datum shares them";
  EXPECT_EQ(copy.m_OstnGrid.m_Nodes.get(), first.m_Nodes.get());

  // New files: new arrays with the new shifts.
  WritePair({5.0, 0, 0, 5.0, 0, 0}, kToEtrs);
  const OstnGridPair changed = Loaded();
  EXPECT_NE(changed.m_Nodes.get(), first.m_Nodes.get());
  EXPECT_EQ(changed.m_Nodes->first.front().m_LatShift, 5.0f);
  EXPECT_EQ(first.m_Nodes->first.front().m_LatShift, 1.0f) << "holders keep what they had";
}

TEST_F(OstnPairTest, MissingFilesLeaveThePairEmptyAndSaySo) {
  OstnGridPair pair;
  GridFileStatus status = LoadOstnGrids(pair, folder_);
  EXPECT_EQ(status.problem, GridFileProblem::kCannotOpen);
  EXPECT_NE(status.reason.find(kOstnEtrsToOsgbFileName), std::string::npos) << status.reason;
  EXPECT_TRUE(pair.IsEmpty());

  WriteBytes(folder_ + std::string(kOstnEtrsToOsgbFileName),
             testing::OstnFileBytes(Layout(kToOsgb), testing::OstnFileSense::kEtrsToOsgb));
  status = LoadOstnGrids(pair, folder_);
  EXPECT_NE(status.reason.find(kOstnOsgbToEtrsFileName), std::string::npos) << status.reason;
  EXPECT_TRUE(pair.IsEmpty()) << "one file of the two is none";
  double easting = 0.0, northing = 0.0;
  EXPECT_FALSE(OstnForward(pair, easting, northing, Radians(50.5), Radians(1.0)));
  EXPECT_FALSE(OstnReverse(pair, easting, northing, 100000.0, 600000.0));
}

}  // namespace
}  // namespace orvale
