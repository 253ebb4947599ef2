// The real NTv2 grids of Debian's proj-data: BKG's 31 official BETA2007 points, and
// random points of four national grids against PROJ's own interpolation of the same
// files (tests/data/gridshift/ntv2_proj_reference.txt, written by tools/ntv2-reference).
// A grid that is not installed skips its test and says so.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

const std::string kGridFolder = "/usr/share/proj/";

// Real reference data kept with the tests (tests/data/gridshift/reference).
std::filesystem::path ReferenceData(const std::string& name) {
  return std::filesystem::path(ORVALE_TEST_DATA_DIR) / "gridshift" / "reference" / name;
}

// Settings go to the temporary drive, not the user's.
class NTv2RealGridTest : public testing::TemporaryDrives {
 protected:
  // The grid, loaded once per test; false (the test skipped) when it is not installed.
  bool Loaded(const std::string& name) {
    if (readers_.count(name) != 0) return true;
    if (!std::filesystem::exists(kGridFolder + name)) return false;
    CNTv2& reader = readers_[name];
    const GridFileStatus status = LoadNTv2File(reader, kGridFolder + name);
    EXPECT_TRUE(status.ok()) << name << ": " << status.reason;
    return status.ok();
  }

  // Shifts degrees (east positive) through `name`, radians in between as the engine
  // takes them; false outside the grid.
  bool Shift(const std::string& name, double& latitude, double& longitude) {
    double out_latitude = 0.0, out_longitude = 0.0;
    if (readers_[name].Interpolate(&out_latitude, &out_longitude, latitude * kRadiansPerDegree,
                                   longitude * kRadiansPerDegree) < 0)
      return false;
    latitude = out_latitude * kDegreesPerRadian;
    longitude = out_longitude * kDegreesPerRadian;
    return true;
  }

  std::map<std::string, CNTv2> readers_;
};

TEST_F(NTv2RealGridTest, ReproducesTheOfficialBeta2007Points) {
  if (!Loaded("BETA2007.gsb")) GTEST_SKIP() << kGridFolder << "BETA2007.gsb is not installed";
  const std::filesystem::path pairs = ReferenceData("beta2007_pairs.txt");
  if (!std::filesystem::exists(pairs)) GTEST_SKIP() << pairs << " is not there";
  // DHDN longitude, latitude -> ETRS89 longitude, latitude, degrees.
  for (const testing::TextRow& row :
       testing::ReadTextTable(std::filesystem::relative(pairs, ORVALE_TEST_DATA_DIR).string())) {
    SCOPED_TRACE(row.where);
    const std::vector<double> v = row.Numbers(0);
    ASSERT_EQ(v.size(), 4u);
    double latitude = v[1], longitude = v[0];
    ASSERT_TRUE(Shift("BETA2007.gsb", latitude, longitude));
    // BKG publishes the points to 1e-12 degree; the grid gives them to a few 1e-9.
    EXPECT_NEAR(latitude, v[3], 5e-9);
    EXPECT_NEAR(longitude, v[2], 5e-9);
  }
}

// PROJ adds the shifts to the position as given; the engine to the position truncated
// to 0.00001", so the two differ by up to that step (0.3 mm) in each co-ordinate,
// plus PROJ's 12 printed decimals.
TEST_F(NTv2RealGridTest, AgreesWithProjWithinTheTruncationStep) {
  const double step = 0.00001 / 3600.0;  // degrees
  int compared = 0;
  for (const testing::TextRow& row :
       testing::ReadTextTable("gridshift/ntv2_proj_reference.txt", 3)) {
    SCOPED_TRACE(row.where);
    if (!Loaded(row[0])) continue;
    const std::vector<double> in = row.Numbers(1), out = row.Numbers(2);
    double latitude = in[0], longitude = in[1];
    ASSERT_TRUE(Shift(row[0], latitude, longitude));
    EXPECT_NEAR(latitude, out[0], step + 1e-12);
    EXPECT_NEAR(longitude, out[1], step + 1e-12);
    ++compared;
  }
  if (compared == 0) GTEST_SKIP() << "none of the grids is installed in " << kGridFolder;
}

}  // namespace
}  // namespace orvale
