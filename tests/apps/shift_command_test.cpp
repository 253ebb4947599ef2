// orvale shift: every kind of datum shift there and back from the command line, the
// real BETA2007 grid against BKG's figures, points outside a grid flagged on their line
// and in the exit status, missing grids named with where they were looked for, and
// projections that do not fit their side refused.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/platform/files.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "run_cli.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;

std::vector<double> Numbers(const std::string& text) {
  std::vector<double> numbers;
  std::istringstream in(text);
  for (double value = 0; in >> value;)
    numbers.push_back(value);
  return numbers;
}

std::string LittleEndian(std::initializer_list<double> values, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t at = 0;
  for (const double value : values) {
    std::memcpy(bytes.data() + at, &value, sizeof value);  // the machine is little-endian
    at += sizeof value;
  }
  return bytes;
}

class ShiftCommand : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_FALSE(RecordFolder().empty());
    ::setenv("ORVALE_PROGRAM_DIR", (Root() + "/").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("ORVALE_PROGRAM_DIR");
    TemporaryDrives::TearDown();
  }

  // The seven lines of a record on WGS84 both sides.
  static std::string RecordLines(const std::string& to) {
    CSpheroid wgs84;
    EXPECT_TRUE(wgs84.SetBuiltIn(26));
    const std::string spheroid = wgs84.m_Name + "\n" + wgs84.m_Country + "\n";
    return "WGS 84\n" + to + "\nTest\n" + spheroid + spheroid;
  }

  // One of each kind of grid and record the shifts below need.
  void WriteGridsAndRecords() {
    // NADCON: constant shifts of 9" north and 18" west-positive over 30N to 40N,
    // 100W to 90W.
    testing::NadconGridLayout grid;
    grid.columns = grid.rows = 11;
    grid.xmin = -100.0f;
    grid.ymin = 30.0f;
    grid.dx = grid.dy = 1.0f;
    grid.values.assign(121, 9.0f);
    WriteBytes(InGlobal("CONUS.las"), testing::NadconFileBytes(grid));
    grid.values.assign(121, -18.0f);
    WriteBytes(InGlobal("CONUS.los"), testing::NadconFileBytes(grid));
    // NTv2 over 45N to 46N, 75W to 76W, shifts varying across it.
    testing::NTv2SubGridLayout ntv2;
    ntv2.name = "TESTGRID";
    ntv2.south = 45 * 3600.0;
    ntv2.north = 46 * 3600.0;
    ntv2.east = 75 * 3600.0;
    ntv2.west = 76 * 3600.0;
    ntv2.lat_increment = ntv2.lon_increment = 300.0;
    testing::FillNodes(ntv2, [](int row, int column) {
      return std::pair(0.5 + 0.25 * row, -2.0 + 0.125 * column - 0.0625 * row);
    });
    WriteBytes(InGlobal("ntv2_0.gsb"), testing::NTv2FileBytes({ntv2}));
    // OSTN15 over 49N to 51N, 2W to 2E, constant shifts there and back.
    testing::NTv2SubGridLayout ostn;
    ostn.name = "OSTN15";
    ostn.south = 49 * 3600.0;
    ostn.north = 51 * 3600.0;
    ostn.east = -2 * 3600.0;
    ostn.west = 2 * 3600.0;
    ostn.lat_increment = ostn.lon_increment = 1800.0;
    testing::FillNodes(ostn, [](int, int) { return std::pair(-1.5, 4.0); });
    WriteBytes("C:\\" + std::string(kOstnEtrsToOsgbFileName),
               testing::OstnFileBytes(ostn, testing::OstnFileSense::kEtrsToOsgb));
    testing::FillNodes(ostn, [](int, int) { return std::pair(1.5, -4.0); });
    WriteBytes("C:\\" + std::string(kOstnOsgbToEtrsFileName),
               testing::OstnFileBytes(ostn, testing::OstnFileSense::kOsgbToEtrs));
    // A user Helmert, a latitude/longitude shift and a grid shift.
    DatumShiftParameters helmert;
    helmert.m_DX = 10.0;
    helmert.m_RZ = 1.5;
    helmert.m_Scale = 2.0;
    std::string block(sizeof helmert, '\0');
    std::memcpy(block.data(), &helmert, sizeof helmert);
    WriteBytes(InGlobal("Site.DMF"), RecordLines("Site") + block);
    WriteBytes(InGlobal("Offset.GSF"), RecordLines("Offset") + LittleEndian({3.6, -7.2, 2.5}, 24));
    WriteBytes(InGlobal("Local.GRD"),
               RecordLines("Local") + LittleEndian({1000.0, -2000.0, 30.0, 1.0001, 0.0}, 184));
  }
};

// Each kind of shift, forward from the first point and back from what came out, lands
// on the start: exactly for the offsets, within the reverse Helmert's second-order
// terms, and within the grid inversions' tolerances.
TEST_F(ShiftCommand, EveryKindOfShiftGoesThereAndBack) {
  WriteGridsAndRecords();
  struct Case {
    std::vector<std::string> arguments;
    std::string point;
    double angle_tolerance;  // degrees, or metres for grid positions
    double height_tolerance;
  };
  const Case cases[] = {
      {{"-D", "none/0"}, "52.5,1.5,100", 1e-9, 1e-4},
      {{"-D", "wgs84/2"}, "52.5,-1.25,100", 1e-8, 1e-3},
      // 20 ppm and 540 m: the reverse misses by their product, 1 cm.
      {{"-D", "wgs84/5", "--to", "cartesian"}, "51.5,-0.1,45", 1e-6, 2e-2},
      {{"-D", "other/1", "--from", "cartesian", "--to", "cartesian"},
       "4027893.6,307045.9,4919474.9",
       2e-2,  // rotations of 7": the reverse misses by their square times the radius
       2e-2},
      {{"-D", "user/0"}, "10,20,30", 1e-8, 1e-3},
      {{"-D", "norwegian/1"}, "63,9,0", 1e-7, 5e-3},
      {{"-D", "norwegian/0"}, "63,9,0", 1e-7, 5e-3},
      {{"-D", "norwegian/0"}, "60,5,0", 1e-7, 5e-3},
      {{"-D", "norwegian/0"}, "68,15,0", 1e-7, 5e-3},
      {{"-D", "latlon/0"}, "52.5,-1.25,100", 1e-9, 1e-4},
      {{"-D", "grid/0", "--from", "grid", "--to", "grid"}, "500000,5800000,12", 1e-4, 1e-4},
      {{"-D", "nadcon/0"}, "34.5,-94.5,0", 1e-9, 1e-4},
      {{"-D", "nadcon/1"}, "34.5,-94.5,0", 1e-9, 1e-4},
      {{"-D", "ntv2/0"}, "45.5,-75.5,0", 3e-7, 1e-4},
      {{"-D", "ordnance-survey/0", "--to", "grid"}, "50.2,-0.7,40", 1e-9, 1e-4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[1]);
    std::vector<std::string> there = {"shift"};
    there.insert(there.end(), c.arguments.begin(), c.arguments.end());
    const auto forward = RunCli(there, c.point + "\n");
    ASSERT_EQ(forward.status, cli::kExitOk) << forward.err << forward.out;
    // Back: the output form becomes the input form.
    std::vector<std::string> back = there;
    for (std::string& argument : back) {
      if (argument == "--to") {
        argument = "--from";
      } else if (argument == "--from") {
        argument = "--to";
      }
    }
    back.push_back("--reverse");
    const auto reverse = RunCli(back, forward.out);
    ASSERT_EQ(reverse.status, cli::kExitOk) << reverse.err;
    std::string start = c.point;
    for (char& ch : start)
      ch = ch == ',' ? ' ' : ch;
    const std::vector<double> expected = Numbers(start), got = Numbers(reverse.out),
                              moved = Numbers(forward.out);
    ASSERT_EQ(got.size(), 3u) << reverse.out;
    EXPECT_NEAR(got[0], expected[0], c.angle_tolerance);
    EXPECT_NEAR(got[1], expected[1], c.angle_tolerance);
    EXPECT_NEAR(got[2], expected[2], c.height_tolerance);
    // And the shift did move it (or, with no shift, projected it on the same grid).
    if (c.arguments[1] != "none/0") {
      EXPECT_NE(moved, expected) << forward.out;
    }
  }
}

TEST_F(ShiftCommand, AHelmertDatumShiftsAsTheHelmertCommandDoes) {
  const std::string points = "52:30N,1:15W,100\n-33.9,18.4,5\n";
  for (const bool reverse : {false, true}) {
    std::vector<std::string> shift = {"shift", "--datum", "wgs84/2"};
    std::vector<std::string> helmert = {"helmert", "--datum", "wgs84/2"};
    if (reverse) {
      shift.push_back("--reverse");
      helmert.push_back("--reverse");
    }
    const auto a = RunCli(shift, points), b = RunCli(helmert, points);
    ASSERT_EQ(a.status, cli::kExitOk) << a.err;
    EXPECT_EQ(a.out, b.out);
  }
}

TEST_F(ShiftCommand, OutsideTheGridIsFlaggedOnItsLineAndInTheExitStatus) {
  WriteGridsAndRecords();
  for (const char* datum : {"ntv2/0", "nadcon/0", "ordnance-survey/0"}) {
    SCOPED_TRACE(datum);
    const auto run = RunCli({"shift", "-D", datum}, "80,10,0\n");
    EXPECT_EQ(run.status, cli::kExitBadInput);
    EXPECT_TRUE(run.out.starts_with("ERROR: ")) << run.out;
    EXPECT_NE(run.out.find("not shifted"), std::string::npos) << run.out;
  }
  // The lines inside the grid go through beside it.
  const auto mixed = RunCli({"shift", "-D", "ntv2/0", "--reverse"}, "45.5,-75.5,0\n47,-75.5,0\n");
  EXPECT_EQ(mixed.status, cli::kExitBadInput);
  const std::vector<std::string> lines = testing::Lines(mixed.out, true);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_FALSE(lines[0].starts_with("ERROR")) << mixed.out;
  EXPECT_EQ(lines[1], "ERROR: ");
}

TEST_F(ShiftCommand, AMissingGridIsNamedWithWhereItWasLookedFor) {
  const auto ntv2 = RunCli({"shift", "-D", "ntv2/0"}, "45.5,-75.5,0\n");
  EXPECT_EQ(ntv2.status, cli::kExitUsage);
  EXPECT_NE(ntv2.err.find("ntv2_0.gsb"), std::string::npos) << ntv2.err;
  EXPECT_NE(ntv2.err.find(Root()), std::string::npos) << ntv2.err;
  const auto ostn = RunCli({"shift", "-D", "ordnance-survey/0"}, "50,0,0\n");
  EXPECT_EQ(ostn.status, cli::kExitUsage);
  EXPECT_NE(ostn.err.find("OSTN15_NTv2_OSGBtoETRS.gsb"), std::string::npos) << ostn.err;
  EXPECT_NE(ostn.err.find(Root()), std::string::npos) << ostn.err;
  const auto nadcon = RunCli({"shift", "-D", "nadcon/4"}, "34,-94,0\n");
  EXPECT_EQ(nadcon.status, cli::kExitUsage);
  EXPECT_NE(nadcon.err.find("HPGN"), std::string::npos) << nadcon.err;
  const auto named = RunCli({"shift", "-D", "ntv2/0", "--grid", Root() + "/none.gsb"}, "1,1,0\n");
  EXPECT_EQ(named.status, cli::kExitUsage);
  EXPECT_NE(named.err.find("none.gsb"), std::string::npos) << named.err;
}

TEST_F(ShiftCommand, AppliesBeta2007AsBkgPublishesIt) {
  const std::string grid = "/usr/share/proj/BETA2007.gsb";
  if (!std::filesystem::exists(grid)) GTEST_SKIP() << grid << " is not installed";
  // DHDN to ETRS89 is the grid applied: the datum's way back. PROJ gives the same to
  // the last printed digit.
  const auto run =
      RunCli({"shift", "-D", "ntv2/0", "--grid", grid, "--reverse"}, "50.5,9.5,0\n52,13,0\n");
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_EQ(run.out, "50.498798947 9.498876547 0.0000\n51.998648822 12.998331708 0.0000\n");
  const auto back = RunCli({"shift", "-D", "ntv2/0", "--grid", grid}, run.out);
  ASSERT_EQ(back.status, cli::kExitOk) << back.err;
  const std::vector<double> got = Numbers(back.out);
  ASSERT_EQ(got.size(), 6u);
  EXPECT_NEAR(got[0], 50.5, 3e-7);
  EXPECT_NEAR(got[4], 13.0, 3e-7);
  EXPECT_FALSE(FileExists(CConfigFile().GetSettingsPath("NTv2")))
      << "a batch filter leaves the panes' settings alone";
}

TEST_F(ShiftCommand, RefusesWhatCannotBeShiftedAsAsked) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"shift", "1,1,0"}, "--datum is needed"},
      {{"shift", "-D", "wgs84/99", "1,1,0"}, "--datum"},
      {{"shift", "-D", "wgs84/2", "--from", "grid", "1,1,0"}, "--projection"},
      {{"shift", "-D", "wgs84/2", "--to", "grid", "1,1,0"}, "--target-projection"},
      {{"shift", "-D", "wgs84/2", "--from", "polar", "1,1,0"}, "--from: 'polar'"},
      {{"shift", "-D", "wgs84/2", "--target-projection", "Ordnance Survey National Grid", "1,1,0"},
       "but that side of the datum is on"},
      {{"shift", "-D", "wgs84/2", "--grid", "x.gsb", "1,1,0"}, "--grid"},
  };
  for (const auto& c : cases) {
    const auto run = RunCli(c.arguments);
    EXPECT_EQ(run.status, cli::kExitUsage) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  const auto help = RunCli({"shift", "--help"});
  EXPECT_EQ(help.status, cli::kExitOk);
  for (const char* taught : {"--reverse", "--target-projection", "BETA2007", "outside"})
    EXPECT_NE(help.out.find(taught), std::string::npos) << taught;
}

}  // namespace
}  // namespace orvale
