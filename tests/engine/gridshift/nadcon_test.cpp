// NADCON: the real conterminous-US pair against published NAD 27 / NAD 83 points,
// forward and back, and small regions written by the tests: table order, the cached
// region, strict edges, eastern longitudes, .los files that do not match their .las,
// grids that begin with zeros, and the statistics of the cells.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/nadcon_regions.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::NadconGridLayout;

std::filesystem::path ReferenceData(const std::string& name) {
  return std::filesystem::path(ORVALE_TEST_DATA_DIR) / "gridshift" / "reference" / name;
}

// A grid whose values are a + b i + c j + d i j at row i and column j, which bilinear
// interpolation gives exactly between the nodes.
struct Bilinear {
  double a, b, c, d;
  double operator()(double i, double j) const { return a + b * i + c * j + d * i * j; }
};

NadconGridLayout Grid(float xmin, float dx, int columns, float ymin, float dy, int rows,
                      Bilinear f) {
  NadconGridLayout grid;
  grid.columns = columns;
  grid.rows = rows;
  grid.xmin = xmin;
  grid.dx = dx;
  grid.ymin = ymin;
  grid.dy = dy;
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < columns; ++j)
      grid.values.push_back(static_cast<float>(f(i, j)));
  return grid;
}

// Two regions of the HPGN table that overlap between 36 and 37 degrees north, and
// one across the antimeridian's far side (Guam, 144 degrees east).
const Bilinear kNorthLat{1.0, 0.5, 0.25, 0.125}, kNorthLon{2.0, -0.25, 0.5, 0.0625};
const Bilinear kSouthLat{-3.0, 0.25, 0.5, 0.0}, kSouthLon{4.0, 0.125, -0.5, 0.25};
const Bilinear kGuamLat{0.5, 0.0, 0.0, 0.0}, kGuamLon{10.0, 1.0, 2.0, 0.0};

NadconGridLayout NorthCalifornia(Bilinear f) {
  return Grid(-124, 0.25, 25, 36, 0.25, 9, f);
}
NadconGridLayout SouthCalifornia(Bilinear f) {
  return Grid(-124, 0.25, 25, 34, 0.25, 13, f);
}
NadconGridLayout Guam(Bilinear f) {
  return Grid(-216, 0.5, 5, 13, 0.5, 3, f);
}

class NadconTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_FALSE(RecordFolder().empty());
  }

  static void WriteRegion(const std::string& code, const NadconGridLayout& las,
                          const NadconGridLayout& los) {
    WriteBytes(InGlobal(code + ".las"), testing::NadconFileBytes(las));
    WriteBytes(InGlobal(code + ".los"), testing::NadconFileBytes(los));
  }

  void WriteCalifornia() {
    WriteRegion("CNHPGN", NorthCalifornia(kNorthLat), NorthCalifornia(kNorthLon));
    WriteRegion("CSHPGN", SouthCalifornia(kSouthLat), SouthCalifornia(kSouthLon));
  }

  // Expects the shift of (latitude, longitude) through the region of `grid` whose
  // latitude and longitude shifts are `f` and `g`.
  static void ExpectShift(NadconGridSet& set, double latitude, double longitude,
                          const NadconGridLayout& grid, Bilinear f, Bilinear g) {
    double out_latitude = 0.0, out_longitude = 0.0;
    ASSERT_TRUE(ApplyNadcon(out_latitude, out_longitude, set, kNad83ToHpgn, latitude, longitude));
    const double west = longitude > 0 ? longitude - 360 : longitude;
    const double i = (latitude - grid.ymin) / grid.dy, j = (west - grid.xmin) / grid.dx;
    EXPECT_NEAR(out_latitude, latitude + f(i, j) / 3600, 1e-12);
    double expected_longitude = west - g(i, j) / 3600;
    if (expected_longitude < -180) expected_longitude += 360;
    EXPECT_NEAR(out_longitude, expected_longitude, 1e-12);
  }
};

TEST_F(NadconTest, ReproducesThePublishedConusPairsBothWays) {
  const std::filesystem::path folder = ReferenceData("");
  if (!std::filesystem::exists(folder / "conus.las"))
    GTEST_SKIP() << folder << " does not hold the CONUS pair";
  // As NGS names them; the region's code is upper case.
  for (const char* name : {"conus.las", "conus.los"})
    std::filesystem::copy_file(folder / name, HostPath(InGlobal(name)));
  NadconGridSet set;
  for (const testing::TextRow& row : testing::ReadTextTable(
           std::filesystem::relative(folder / "conus_pairs.txt", ORVALE_TEST_DATA_DIR).string())) {
    SCOPED_TRACE(row.where);
    const std::vector<double> v = row.Numbers(0);  // NAD 27 lat lon, NAD 83 lat lon
    ASSERT_EQ(v.size(), 4u);
    double latitude = 0.0, longitude = 0.0;
    ASSERT_TRUE(ApplyNadcon(latitude, longitude, set, kNad27ToNad83, v[0], v[1]));
    EXPECT_NEAR(latitude, v[2], 1e-7);
    EXPECT_NEAR(longitude, v[3], 1e-7);
    EXPECT_EQ(set.m_Code, "CONUS");
    EXPECT_EQ(set.m_Description, "Conterminous U S (lower 48 states)");
    ASSERT_TRUE(InvertNadcon(latitude, longitude, set, kNad83ToNad27, v[2], v[3]));
    EXPECT_NEAR(latitude, v[0], 1e-7);
    EXPECT_NEAR(longitude, v[1], 1e-7);
  }
}

TEST_F(NadconTest, TheFirstRegionOfTheTableWinsWhereTwoOverlap) {
  WriteCalifornia();
  NadconGridSet set;
  ExpectShift(set, 36.6, -120.3, NorthCalifornia({}), kNorthLat, kNorthLon);
  EXPECT_EQ(set.m_Code, "CNHPGN");
  EXPECT_EQ(set.m_Description, "California (Above 37 degrees latitude)");
  ExpectShift(set, 35.1, -120.3, SouthCalifornia({}), kSouthLat, kSouthLon);
  EXPECT_EQ(set.m_Code, "CSHPGN");
  EXPECT_EQ(set.m_Description, "California  (Below 37 degrees latitude)");
}

TEST_F(NadconTest, KeepsItsRegionUntilAPointLeavesIt) {
  WriteCalifornia();
  NadconGridSet set;
  ExpectShift(set, 36.6, -120.3, NorthCalifornia({}), kNorthLat, kNorthLon);
  const float* cells = set.m_LatitudeGrid->data();
  // Files gone: points inside the region are shifted from memory, never re-read.
  ASSERT_TRUE(DeleteFile(InGlobal("CNHPGN.las")) && DeleteFile(InGlobal("CNHPGN.los")));
  ExpectShift(set, 37.2, -119.9, NorthCalifornia({}), kNorthLat, kNorthLon);
  EXPECT_EQ(set.m_LatitudeGrid->data(), cells);
  // Leaving it searches afresh; the region then found holds on to overlapping points
  // that the first row of the table would have taken.
  ExpectShift(set, 35.1, -120.3, SouthCalifornia({}), kSouthLat, kSouthLon);
  ExpectShift(set, 36.6, -120.3, SouthCalifornia({}), kSouthLat, kSouthLon);
  EXPECT_EQ(set.m_Code, "CSHPGN");
}

TEST_F(NadconTest, OuterRowsAndColumnsAreOutsideAndLeaveNoRegion) {
  WriteCalifornia();
  NadconGridSet set;
  double latitude = 9.0, longitude = 9.0;
  for (const auto& [phi, lambda] : {std::pair(34.0, -120.0), std::pair(35.0, -124.0),
                                    std::pair(35.0, -118.0), std::pair(38.0, -120.0)}) {
    SCOPED_TRACE(std::to_string(phi) + " " + std::to_string(lambda));
    EXPECT_FALSE(ApplyNadcon(latitude, longitude, set, kNad83ToHpgn, phi, lambda));
    EXPECT_EQ(std::pair(latitude, longitude), std::pair(0.0, 0.0));
    EXPECT_EQ(set.m_Description, "Not Selected");
    EXPECT_TRUE(set.m_Code.empty());
    EXPECT_EQ(set.m_LatitudeGrid, nullptr);
  }
  // A point just inside is shifted; the NAD 27 family does not search these files.
  ExpectShift(set, 34.0001, -123.9999, SouthCalifornia({}), kSouthLat, kSouthLon);
  EXPECT_FALSE(ApplyNadcon(latitude, longitude, set, kNad27ToNad83, 33.0, -120.0));
}

TEST_F(NadconTest, EasternLongitudesAreTakenWestAndGivenBackEast) {
  WriteRegion("GUHPGN", Guam(kGuamLat), Guam(kGuamLon));
  NadconGridSet set;
  ExpectShift(set, 13.4, 144.7, Guam({}), kGuamLat, kGuamLon);
  ExpectShift(set, 13.4, -215.3, Guam({}), kGuamLat, kGuamLon);
  EXPECT_EQ(set.m_Description, "Guam");
  double latitude = 0.0, longitude = 0.0;
  ASSERT_TRUE(ApplyNadcon(latitude, longitude, set, kHpgnToNad83, 13.4, 144.7));
  EXPECT_GT(longitude, 144.0);
  double back_latitude = 0.0, back_longitude = 0.0;
  ASSERT_TRUE(InvertNadcon(back_latitude, back_longitude, set, kHpgnToNad83, latitude, longitude));
  EXPECT_NEAR(back_latitude, 13.4, 1e-9);
  EXPECT_NEAR(back_longitude, 144.7, 1e-9);
}

TEST_F(NadconTest, ALongitudeFileOffItsLatitudeGridLeavesTheRegionUnloaded) {
  // nc, nr, nz, xmin, dx, ymin, dy and angle: each one changed on its own.
  for (std::size_t offset = 64; offset < kNadconHeaderBytes; offset += 4) {
    SCOPED_TRACE("header byte " + std::to_string(offset));
    std::string los = testing::NadconFileBytes(Guam(kGuamLon));
    los[offset] = static_cast<char>(los[offset] ^ 0x01);
    WriteBytes(InGlobal("GUHPGN.las"), testing::NadconFileBytes(Guam(kGuamLat)));
    WriteBytes(InGlobal("GUHPGN.los"), los);
    NadconGridSet set;
    EXPECT_FALSE(LoadNadconRegion(set, "GUHPGN"));
    EXPECT_EQ(set.m_LatitudeGrid, nullptr);
    EXPECT_EQ(set.m_LongitudeGrid, nullptr);
    EXPECT_TRUE(std::all_of(set.m_Header.begin(), set.m_Header.end(),
                            [](unsigned char b) { return b == 0; }));
  }
}

TEST_F(NadconTest, GridsThatBeginWithZerosAreReadFromTheirFirstRow) {
  // Zero shifts along the south row, and a narrow grid whose header spans records.
  const Bilinear zero_south{0.0, 1.0, 0.0, 0.5}, zero_west{0.0, 0.0, 1.0, 0.25};
  WriteRegion("GUHPGN", Guam(zero_south), Guam(zero_west));
  NadconGridSet set;
  ExpectShift(set, 13.2, 144.1, Guam({}), zero_south, zero_west);
  ASSERT_NE(set.m_LatitudeGrid, nullptr);
  EXPECT_EQ(set.m_LatitudeGrid->at(0), 0.0f);
  EXPECT_EQ(set.m_LatitudeGrid->back(), static_cast<float>(zero_south(2, 4)));
}

TEST_F(NadconTest, CountsTheNonZeroCellsWithTheirSampleDeviation) {
  const NadconGridLayout las = NorthCalifornia(kNorthLat), los = NorthCalifornia({0, 0, 0, 0.5});
  WriteRegion("CNHPGN", las, los);
  NadconGridSet set;
  ASSERT_TRUE(LoadNadconRegion(set, "CNHPGN"));
  for (const auto& [layout, statistics] :
       {std::pair(las, set.m_LatitudeStatistics), std::pair(los, set.m_LongitudeStatistics)}) {
    std::vector<double> cells;
    for (float value : layout.values)
      if (value != 0.0f) cells.push_back(value);
    double mean = 0.0, squares = 0.0;
    for (double x : cells)
      mean += x / static_cast<double>(cells.size());
    for (double x : cells)
      squares += (x - mean) * (x - mean);
    EXPECT_EQ(statistics.m_Valid, 1);
    EXPECT_EQ(statistics.m_Count, static_cast<int>(cells.size()));
    EXPECT_NEAR(statistics.m_Mean, mean, 1e-12);
    EXPECT_NEAR(statistics.m_Deviation, std::sqrt(squares / (cells.size() - 1.0)), 1e-9);
    EXPECT_EQ(statistics.m_Minimum, *std::min_element(cells.begin(), cells.end()));
    EXPECT_EQ(statistics.m_Maximum, *std::max_element(cells.begin(), cells.end()));
  }
  GridStatistics one;
  one.Add(-2.5);
  EXPECT_EQ(std::tie(one.m_Count, one.m_Mean, one.m_Deviation, one.m_Minimum, one.m_Maximum),
            std::make_tuple(1, -2.5, 0.0, -2.5, -2.5));
}

TEST(NadconRegions, AreListedInSearchOrder) {
  EXPECT_EQ(kNadconRegions.front().code, "CONUS");
  EXPECT_EQ(kNadconRegions.back().description, "St. Paul Is., Old Island Datum within Alaska");
  EXPECT_EQ(kHpgnRegions.front().code, "ALHPGN");
  EXPECT_EQ(kHpgnRegions.back().code, "WYHPGN");
  const auto puerto_rico = std::find_if(kHpgnRegions.begin(), kHpgnRegions.end(),
                                        [](const NadconRegion& r) { return r.code == "PVHPGN"; });
  ASSERT_NE(puerto_rico, kHpgnRegions.end());
  EXPECT_EQ(puerto_rico->description, "Puerto Rico-Virgin Isands");
  for (const auto& table : {std::span<const NadconRegion>(kNadconRegions),
                            std::span<const NadconRegion>(kHpgnRegions)}) {
    for (const NadconRegion& region : table)
      EXPECT_EQ(std::count_if(table.begin(), table.end(),
                              [&](const NadconRegion& r) { return r.code == region.code; }),
                1);
  }
}

}  // namespace
}  // namespace orvale
