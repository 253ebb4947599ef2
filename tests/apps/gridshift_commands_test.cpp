// orvale gridshift and orvale ostn15: synthetic grids whose shifts are linear in the
// node indices, so that bilinear interpolation gives them exactly anywhere; the real
// BETA2007 grid against BKG's points and the NADCON CONUS region against IOGP's.
// Messages, outside points and exit statuses are in tests/data/apps/gridshift_lines.txt.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "run_cli.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::RunCli;

// The synthetic NTv2 grid: 50°N to 51°N, 7°E to 9°E, nodes every half degree; its
// shifts in seconds of arc at fractional node indices (y north, x west from 9°E).
constexpr double kSouth = 50.0, kEast = 9.0, kStep = 0.5;
double NTv2LatShift(double y, double x) {
  return 1.0 + 0.5 * y + 0.25 * x;
}
double NTv2LonShift(double y, double x) {
  return -2.0 + 0.125 * y - 0.5 * x;
}  // west +

// The synthetic NADCON region: 30°N to 31°N, 100°W to 98°W, nodes every quarter
// degree; shifts in seconds at fractional indices (y north, x east from 100°W).
constexpr double kNadconSouth = 30.0, kNadconWest = -100.0, kNadconStep = 0.25;
double NadconLatShift(double y, double x) {
  return 0.75 - 0.25 * y + 0.125 * x;
}
double NadconLonShift(double y, double x) {
  return -1.5 + 0.5 * y + 0.0625 * x;
}  // west +

// The synthetic OSTN15 pair: 50°N to 51°N, 0° to 2°E, nodes every quarter degree,
// each file's shifts (seconds, longitude positive west) linear in the node indices.
constexpr double kOstnSouth = 50.0, kOstnEast = 2.0, kOstnStep = 0.25;
struct LinearShift {
  double lat0, lat_row, lat_column, lon0, lon_row, lon_column;
  std::pair<double, double> At(double y, double x) const {
    return {lat0 + lat_row * y + lat_column * x, lon0 + lon_row * y + lon_column * x};
  }
  // The shift at a position in degrees.
  std::pair<double, double> AtDegrees(double latitude, double longitude) const {
    return At((latitude - kOstnSouth) / kOstnStep, (kOstnEast - longitude) / kOstnStep);
  }
};
constexpr LinearShift kToOsgb{1.5, 0.25, -0.125, -3.0, 0.5, 0.0625};
constexpr LinearShift kToEtrs{-1.5, -0.25, 0.125, 3.0, -0.5, -0.0625};

// Where the grids go: the temporary drive, so nothing outlives the test.
class GridshiftCommands : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    folder_ = Root('C') + "/grids/";
    std::filesystem::create_directories(folder_);
    testing::NTv2SubGridLayout grid;
    grid.name = "TEST";
    grid.south = kSouth * 3600;
    grid.north = (kSouth + 1) * 3600;
    grid.east = -kEast * 3600;
    grid.west = -(kEast - 2) * 3600;
    grid.lat_increment = grid.lon_increment = kStep * 3600;
    testing::FillNodes(grid, [](int row, int column) {
      return std::pair{NTv2LatShift(row, column), NTv2LonShift(row, column)};
    });
    Write("test.gsb", testing::NTv2FileBytes({grid}));
    Write("broken.gsb", testing::NTv2FileBytes({grid}).substr(0, 400));
    testing::NadconGridLayout las;
    las.columns = 9;
    las.rows = 5;
    las.xmin = static_cast<float>(kNadconWest);
    las.ymin = static_cast<float>(kNadconSouth);
    las.dx = las.dy = static_cast<float>(kNadconStep);
    testing::NadconGridLayout los = las;
    for (int row = 0; row < las.rows; ++row) {
      for (int column = 0; column < las.columns; ++column) {
        las.values.push_back(static_cast<float>(NadconLatShift(row, column)));
        los.values.push_back(static_cast<float>(NadconLonShift(row, column)));
      }
    }
    Write("region.las", testing::NadconFileBytes(las));
    Write("region.los", testing::NadconFileBytes(los));
    Write("lonely.las", testing::NadconFileBytes(las));
    Write("skewed.las", testing::NadconFileBytes(las));
    los.dy = 0.5f;
    Write("skewed.los", testing::NadconFileBytes(los));
    WriteOstnPair();
  }

  // The OSTN15 pair in ostn/, and its first file alone in half/.
  void WriteOstnPair() const {
    testing::NTv2SubGridLayout grid;
    grid.name = "OSTN15";
    grid.south = kOstnSouth * 3600;
    grid.north = (kOstnSouth + 1) * 3600;
    grid.east = -kOstnEast * 3600;
    grid.west = -(kOstnEast - 2) * 3600;
    grid.lat_increment = grid.lon_increment = kOstnStep * 3600;
    testing::FillNodes(grid, [](int row, int column) { return kToOsgb.At(row, column); });
    const std::string first = testing::OstnFileBytes(grid, testing::OstnFileSense::kEtrsToOsgb);
    testing::FillNodes(grid, [](int row, int column) { return kToEtrs.At(row, column); });
    const std::string second = testing::OstnFileBytes(grid, testing::OstnFileSense::kOsgbToEtrs);
    for (const char* folder : {"ostn", "half"})
      std::filesystem::create_directories(folder_ + folder);
    Write("ostn/OSTN15_NTv2_ETRStoOSGB.gsb", first);
    Write("ostn/OSTN15_NTv2_OSGBtoETRS.gsb", second);
    Write("half/OSTN15_NTv2_ETRStoOSGB.gsb", first);
  }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ + name, std::ios::binary) << bytes;
  }

  // Runs the command and reads each output line as two numbers (degrees).
  std::vector<std::pair<double, double>> Shift(std::vector<std::string> arguments,
                                               const std::string& input) const {
    const testing::CliRun run = RunCli(std::move(arguments), input);
    EXPECT_EQ(run.status, cli::kExitOk) << run.err;
    std::vector<std::pair<double, double>> points;
    for (const std::string& line : testing::Lines(run.out)) {
      std::istringstream in(line);
      double a = 0, b = 0;
      EXPECT_TRUE(in >> a >> b) << line;
      points.emplace_back(a, b);
    }
    return points;
  }

  // `text` with each "{grids}" replaced by the grids' folder.
  std::string WithGrids(std::string text) const {
    for (auto at = text.find("{grids}"); at != std::string::npos; at = text.find("{grids}", at))
      text.replace(at, 7, folder_);
    return text;
  }

  std::string folder_;
};

// Positions all over both grids, in their interior and on their south and east edges.
const std::vector<std::pair<double, double>> kNTv2Points = {
    {50.25, 8.1}, {50.0, 8.95}, {50.9, 7.05}, {50.123456789, 8.765432109}, {50.5, 8.0}};
const std::vector<std::pair<double, double>> kNadconPoints = {
    {30.1, -99.9}, {30.6, -98.05}, {30.987654321, -99.123456789}, {30.5, -99.0}};

// A shift of 0.00001" is the step the NTv2 reader truncates positions to; 1e-9 degree
// is the last printed decimal.
constexpr double kNTv2Tolerance = 0.00001 / 3600 + 1e-9;

TEST_F(GridshiftCommands, NTv2ShiftsByTheGridsExactBilinearValueAndBack) {
  std::ostringstream input;
  input.precision(12);
  for (const auto& [lat, lon] : kNTv2Points)
    input << lat << "," << lon << "\n";
  const auto out = Shift({"gridshift", "--grid", folder_ + "test.gsb"}, input.str());
  ASSERT_EQ(out.size(), kNTv2Points.size());
  std::ostringstream shifted;
  shifted.precision(12);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto [lat, lon] = kNTv2Points[i];
    const double y = (lat - kSouth) / kStep, x = (kEast - lon) / kStep;
    EXPECT_NEAR(out[i].first, lat + NTv2LatShift(y, x) / 3600, kNTv2Tolerance) << i;
    EXPECT_NEAR(out[i].second, lon - NTv2LonShift(y, x) / 3600, kNTv2Tolerance) << i;
    shifted << out[i].first << " " << out[i].second << "\n";
  }
  const auto back =
      Shift({"gridshift", "--grid", folder_ + "test.gsb", "--inverse"}, shifted.str());
  ASSERT_EQ(back.size(), kNTv2Points.size());
  // Back to the start within the same step: the inverse finds a position whose
  // truncated form shifts onto the point given.
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_NEAR(back[i].first, kNTv2Points[i].first, kNTv2Tolerance) << i;
    EXPECT_NEAR(back[i].second, kNTv2Points[i].second, kNTv2Tolerance) << i;
  }
}

TEST_F(GridshiftCommands, NadconShiftsByTheRegionsExactBilinearValueAndBack) {
  std::ostringstream input;
  input.precision(12);
  for (const auto& [lat, lon] : kNadconPoints)
    input << lat << " " << lon << "\n";
  // The region by its .las, its .los and its name without extension, alike.
  const auto out = Shift({"gridshift", "--grid", folder_ + "region.las"}, input.str());
  EXPECT_EQ(Shift({"gridshift", "-g", folder_ + "region.los"}, input.str()), out);
  EXPECT_EQ(Shift({"gridshift", "-g", folder_ + "region"}, input.str()), out);
  ASSERT_EQ(out.size(), kNadconPoints.size());
  std::ostringstream shifted;
  shifted.precision(12);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto [lat, lon] = kNadconPoints[i];
    const double y = (lat - kNadconSouth) / kNadconStep, x = (lon - kNadconWest) / kNadconStep;
    EXPECT_NEAR(out[i].first, lat + NadconLatShift(y, x) / 3600, 1e-9) << i;
    EXPECT_NEAR(out[i].second, lon - NadconLonShift(y, x) / 3600, 1e-9) << i;
    shifted << out[i].first << " " << out[i].second << "\n";
  }
  const auto back = Shift({"gridshift", "--grid", folder_ + "region", "-i"}, shifted.str());
  ASSERT_EQ(back.size(), kNadconPoints.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_NEAR(back[i].first, kNadconPoints[i].first, 2e-9) << i;
    EXPECT_NEAR(back[i].second, kNadconPoints[i].second, 2e-9) << i;
  }
}

// Exit statuses, messages and error lines: the table, with {grids} standing for the
// folder of the synthetic grids.
TEST_F(GridshiftCommands, ExitAndPrintAsTheirTableSays) {
  for (const testing::TextRow& row : testing::ReadTextTable("apps/gridshift_lines.txt")) {
    SCOPED_TRACE(row.where);
    ASSERT_GE(row.fields.size(), 4u);
    std::vector<std::string> arguments(row.fields.begin() + 3, row.fields.end());
    std::string input;
    if (arguments.back().starts_with('<')) {
      input = arguments.back().substr(1);
      arguments.pop_back();
    }
    for (std::string& argument : arguments)
      argument = WithGrids(argument);
    const testing::CliRun run = RunCli(arguments, input);
    EXPECT_EQ(run.status, std::stoi(row[0])) << run.err;
    const std::string& stream = row[1] == "err" ? run.err : run.out;
    const std::string expected = WithGrids(row[2].substr(row[2].find(' ') + 1));
    if (row[2].starts_with("is ")) {
      EXPECT_EQ(testing::Lines(stream, true), testing::Lines(expected, false)) << stream;
    } else {
      ASSERT_TRUE(row[2].starts_with("has ")) << row[2];
      EXPECT_NE(stream.find(expected), std::string::npos) << stream;
    }
  }
}

// OSTN15 forward is the National Grid projection of the position shifted by the first
// file; back, the second file's shift at the projection's inverse. The projection is
// orvale project's own (the catalogue row of the National Grid), to the millimetre.
TEST_F(GridshiftCommands, Ostn15IsTheNationalGridOfTheShiftedPositionEachWay) {
  const std::vector<std::pair<double, double>> points = {
      {50.1, 0.3}, {50.5, 1.0}, {50.987654321, 1.987654321}, {50.0, 1.5}};
  std::ostringstream etrs, shifted;
  etrs.precision(12);
  shifted.precision(12);
  for (const auto& [lat, lon] : points) {
    etrs << lat << " " << lon << " 45.25\n";
    const auto [lat_shift, lon_shift] = kToOsgb.AtDegrees(lat, lon);
    shifted << lat + lat_shift / 3600 << " " << lon - lon_shift / 3600 << "\n";
  }
  const std::string grids = folder_ + "ostn";
  const testing::CliRun run = RunCli({"ostn15", "--grids", grids}, etrs.str());
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto projected =
      Shift({"project", "-p", "Ordnance Survey National Grid", "-d", "6"}, shifted.str());
  const auto lines = testing::Lines(run.out);
  ASSERT_EQ(lines.size(), points.size());
  ASSERT_EQ(projected.size(), points.size());
  std::string grid_points, plain_grid_points;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::istringstream in(lines[i]);
    double easting = 0, northing = 0, height = 0;
    ASSERT_TRUE(in >> easting >> northing >> height) << lines[i];
    EXPECT_NEAR(easting, projected[i].first, 0.001) << i;
    EXPECT_NEAR(northing, projected[i].second, 0.001) << i;
    EXPECT_EQ(height, 45.25) << i;
    grid_points += lines[i] + "\n";
    plain_grid_points += lines[i].substr(0, lines[i].rfind(' ')) + "\n";
  }
  // Back: ostn15 -i against project -i plus the second file's shift.
  const auto back =
      Shift({"ostn15", "--grids", grids, "--inverse", "--decimals", "10"}, grid_points);
  const auto unprojected = Shift(
      {"project", "-p", "Ordnance Survey National Grid", "-i", "-d", "12"}, plain_grid_points);
  ASSERT_EQ(back.size(), points.size());
  ASSERT_EQ(unprojected.size(), points.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    const auto [lat, lon] = unprojected[i];
    const auto [lat_shift, lon_shift] = kToEtrs.AtDegrees(lat, lon);
    EXPECT_NEAR(back[i].first, lat + lat_shift / 3600, 1e-8) << i;  // 1 mm
    EXPECT_NEAR(back[i].second, lon - lon_shift / 3600, 1.5e-8) << i;
  }
}

// Without --grids the pair is sought in the program's folder, named when it is not there.
TEST_F(GridshiftCommands, Ostn15LooksInTheProgramsFolder) {
  ASSERT_EQ(::setenv("ORVALE_PROGRAM_DIR", (folder_ + "ostn/").c_str(), 1), 0);
  const testing::CliRun found = RunCli({"ostn15"}, "50.5 1 0\n");
  EXPECT_EQ(found.status, cli::kExitOk) << found.err;
  ASSERT_EQ(::setenv("ORVALE_PROGRAM_DIR", folder_.c_str(), 1), 0);
  const testing::CliRun missing = RunCli({"ostn15"}, "50.5 1 0\n");
  ::unsetenv("ORVALE_PROGRAM_DIR");
  EXPECT_EQ(missing.status, cli::kExitUsage);
  EXPECT_NE(missing.err.find("orvale ostn15: OSTN15_NTv2_ETRStoOSGB.gsb and "
                             "OSTN15_NTv2_OSGBtoETRS.gsb are not in " +
                             folder_),
            std::string::npos)
      << missing.err;
  EXPECT_EQ(missing.out, "");
}

const std::string kRealGrid = "/usr/share/proj/BETA2007.gsb";

std::filesystem::path Reference(const std::string& name) {
  return std::filesystem::path(ORVALE_TEST_DATA_DIR) / "gridshift" / "reference" / name;
}

// The rows of a table of published pairs: four numbers, a position and its shifted
// counterpart.
std::vector<std::vector<double>> Pairs(const std::string& name) {
  std::vector<std::vector<double>> pairs;
  for (const testing::TextRow& row : testing::ReadTextTable(
           std::filesystem::relative(Reference(name), ORVALE_TEST_DATA_DIR).string())) {
    pairs.push_back(row.Numbers(0));
    EXPECT_EQ(pairs.back().size(), 4u) << row.where;
  }
  return pairs;
}

// BKG's 31 points, DHDN to ETRS89 (longitude first), to 1 mm (1e-8 degree is 1.1 mm
// of latitude) each way.
TEST_F(GridshiftCommands, Beta2007ReproducesBkgsPointsEachWay) {
  if (!std::filesystem::exists(kRealGrid)) GTEST_SKIP() << kRealGrid << " is not installed";
  const auto pairs = Pairs("beta2007_pairs.txt");
  ASSERT_EQ(pairs.size(), 31u);
  std::ostringstream dhdn, etrs;
  dhdn.precision(13);
  etrs.precision(13);
  for (const auto& v : pairs) {
    dhdn << v[0] << " " << v[1] << "\n";
    etrs << v[2] << " " << v[3] << "\n";
  }
  const auto forward = Shift({"gridshift", "--grid", kRealGrid, "--lon-lat"}, dhdn.str());
  const auto back = Shift({"gridshift", "--grid", kRealGrid, "--lon-lat", "-i"}, etrs.str());
  ASSERT_EQ(forward.size(), pairs.size());
  ASSERT_EQ(back.size(), pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::vector<double>& v = pairs[i];
    const double cos_lat = std::cos(v[1] * std::numbers::pi / 180);
    EXPECT_NEAR(forward[i].first * cos_lat, v[2] * cos_lat, 9e-9) << i;
    EXPECT_NEAR(forward[i].second, v[3], 9e-9) << i;
    EXPECT_NEAR(back[i].first * cos_lat, v[0] * cos_lat, 9e-9) << i;
    EXPECT_NEAR(back[i].second, v[1], 9e-9) << i;
  }
}

// IOGP's NAD 27 to NAD 83 pairs, published to 1e-7 degree, each way.
TEST_F(GridshiftCommands, NadconConusReproducesIogpsPairsEachWay) {
  const auto pairs = Pairs("conus_pairs.txt");
  ASSERT_EQ(pairs.size(), 4u);
  std::ostringstream nad27, nad83;
  nad27.precision(12);
  nad83.precision(12);
  for (const auto& v : pairs) {
    nad27 << v[0] << " " << v[1] << "\n";
    nad83 << v[2] << " " << v[3] << "\n";
  }
  const std::string grid = Reference("conus.las").string();
  const auto forward = Shift({"gridshift", "--grid", grid}, nad27.str());
  const auto back = Shift({"gridshift", "--grid", grid, "--inverse"}, nad83.str());
  ASSERT_EQ(forward.size(), pairs.size());
  ASSERT_EQ(back.size(), pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_NEAR(forward[i].first, pairs[i][2], 1e-7) << i;
    EXPECT_NEAR(forward[i].second, pairs[i][3], 1e-7) << i;
    EXPECT_NEAR(back[i].first, pairs[i][0], 1e-7) << i;
    EXPECT_NEAR(back[i].second, pairs[i][1], 1e-7) << i;
  }
}

}  // namespace
}  // namespace orvale
