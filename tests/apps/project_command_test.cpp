#include <gtest/gtest.h>

#include <sstream>

#include <cstdio>

#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;

class ProjectCommand : public testing::TemporaryDrives {};

const std::vector<std::string> kNationalGrid = {
    "project", "--type", "tm",           "--lat0", "49",         "--lon0",
    "-2",      "--k0",   "0.9996012717", "--fe",   "400000",     "--fn",
    "-100000", "--a",    "6377563.396",  "--rf",   "299.3249646"};

// What the engine itself gives for the National Grid set-up above, printed as the
// command prints it: the command must add nothing and lose nothing. (How close the
// engine comes to the published figures is the worked examples' business.)
std::string EngineGrid(double latitude_degrees, double longitude_degrees) {
  CSpheroid airy;
  airy.m_SemiMajorAxis = 6377563.396;
  airy.m_InverseFlattening = 299.3249646;
  airy.ComputeConstants();
  CProjection grid;
  grid.m_Spheroid = &airy;
  grid.m_Type = PROJECTION_TRANSVERSE_MERCATOR;
  grid.SetParametersDeg(49, -2, 400000, -100000, 0.9996012717);
  double e = 0.0, n = 0.0;
  grid.GeogToGrid(latitude_degrees / kDegreesPerRadian, longitude_degrees / kDegreesPerRadian, &e,
                  &n);
  char text[64];
  std::snprintf(text, sizeof text, "%.3f %.3f", e, n);
  return text;
}

std::string EngineGeog(double easting, double northing) {
  CSpheroid airy;
  airy.m_SemiMajorAxis = 6377563.396;
  airy.m_InverseFlattening = 299.3249646;
  airy.ComputeConstants();
  CProjection grid;
  grid.m_Spheroid = &airy;
  grid.m_Type = PROJECTION_TRANSVERSE_MERCATOR;
  grid.SetParametersDeg(49, -2, 400000, -100000, 0.9996012717);
  double latitude = 0.0, longitude = 0.0;
  grid.GridToGeog(easting, northing, &latitude, &longitude);
  char text[64];
  std::snprintf(text, sizeof text, "%.7f %.7f", latitude * kDegreesPerRadian,
                longitude * kDegreesPerRadian);
  return text;
}

std::string Csv(std::string text) {
  std::replace(text.begin(), text.end(), ' ', ',');
  return text;
}

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more) {
  base.insert(base.end(), more.begin(), more.end());
  return base;
}

TEST_F(ProjectCommand, ProjectsTheOrdnanceSurveyWorkedExampleAsTheEngineDoes) {
  const auto run = RunCli(With(kNationalGrid, {"52:39:27.2531N,1:43:04.5177E"}));
  EXPECT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_EQ(run.out, EngineGrid(52.657570306, 1.717921583) + "\n");
  // Published: 651409.903 313177.270; the series lands within a few millimetres.
  EXPECT_EQ(run.out.substr(0, 14), "651409.903 313") << run.out;
}

TEST_F(ProjectCommand, InvertsItBackToTheSamePosition) {
  const auto run =
      RunCli(With(kNationalGrid, {"--inverse", "--decimals", "7", "651409.903 313177.270"}));
  EXPECT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_EQ(run.out, EngineGeog(651409.903, 313177.270) + "\n");
  EXPECT_EQ(run.out.substr(0, 8), "52.65757") << run.out;
}

TEST_F(ProjectCommand, StreamsCsvWithIdsAndKeepsBadLinesInPlace) {
  std::string input =
      "# Caister and "
      "friends\nA,52.657570306,1.717921583\nB,north,east\n\nC,52.657570306,1.717921583\n";
  const auto run = RunCli(With(kNationalGrid, {"--id", "--format", "csv"}), input);
  EXPECT_EQ(run.status, cli::kExitBadInput);
  std::istringstream lines(run.out);
  std::vector<std::string> out;
  for (std::string line; std::getline(lines, line);)
    out.push_back(line);
  ASSERT_EQ(out.size(), 6u) << run.out;
  EXPECT_EQ(out[0], "id,easting,northing");
  EXPECT_EQ(out[1], "# Caister and friends");
  const std::string caister = Csv(EngineGrid(52.657570306, 1.717921583));
  EXPECT_EQ(out[2], "A," + caister);
  EXPECT_EQ(out[3].rfind("ERROR: ", 0), 0u) << out[3];
  EXPECT_EQ(out[4], "");
  EXPECT_EQ(out[5], "C," + caister);
  EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
}

TEST_F(ProjectCommand, GivesTheSameOutputWhateverTheNumberOfWorkers) {
  std::string input;
  for (int i = 0; i < 5000; ++i) {
    input += std::to_string(50.0 + i * 0.0007) + " " + std::to_string(-4.0 + i * 0.0011) + "\n";
  }
  const auto one = RunCli(With(kNationalGrid, {"--jobs", "1", "--convergence", "--scale"}), input);
  const auto two = RunCli(With(kNationalGrid, {"--jobs", "2", "--convergence", "--scale"}), input);
  EXPECT_EQ(one.status, cli::kExitOk) << one.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 5000);
}

TEST_F(ProjectCommand, WritesJsonLinesWithEscapedIds) {
  const auto run = RunCli(
      With(kNationalGrid, {"--id", "--format", "json", "Cai\"ster\\1,52.657570306,1.717921583"}));
  const std::string grid = EngineGrid(52.657570306, 1.717921583);
  const std::string easting = grid.substr(0, grid.find(' ')),
                    northing = grid.substr(grid.find(' ') + 1);
  EXPECT_EQ(run.out, "{\"id\":\"Cai\\\"ster\\\\1\",\"easting\":" + easting +
                         ",\"northing\":" + northing + "}\n")
      << run.err;
}

TEST_F(ProjectCommand, ProjectsUtmZonesByNumber) {
  const auto run = RunCli({"project", "--type", "utm", "--zone", "31", "0.5,3"});
  EXPECT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_EQ(run.out.substr(0, 11), "500000.000 ") << run.out;
  const auto missing = RunCli({"project", "--type", "utm", "0.5,3"});
  EXPECT_EQ(missing.status, cli::kExitUsage);
  EXPECT_NE(missing.err.find("--zone"), std::string::npos);
}

TEST_F(ProjectCommand, RefusesUnknownSpheroidsAndTypesWithTheChoices) {
  auto run = RunCli({"project", "--spheroid", "Potato 2001", "1,1"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  EXPECT_NE(run.err.find("Potato 2001"), std::string::npos);
  run = RunCli({"project", "--type", "conic", "1,1"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  EXPECT_NE(run.err.find("lambert"), std::string::npos) << run.err;
  run = RunCli({"project", "--lat0", "95N", "1,1"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  EXPECT_NE(run.err.find("--lat0"), std::string::npos) << run.err;
}

TEST_F(ProjectCommand, FindsSpheroidsByIndexEpsgCodeOrFullName) {
  auto project_on = [](const char* spheroid) {
    std::vector<std::string> args = {
        "project",      "--type",     "tm",     "--lat0",
        "49",           "--lon0",     "-2",     "--k0",
        "0.9996012717", "--fe",       "400000", "--fn",
        "-100000",      "--spheroid", spheroid, "52.657570306,1.717921583"};
    return RunCli(args);
  };
  const auto by_name = project_on("Airy 1830");
  ASSERT_EQ(by_name.status, cli::kExitOk) << by_name.err;
  EXPECT_EQ(by_name.out.substr(0, 14), "651409.903 313") << by_name.out;
  for (const char* spheroid : {"0", "EPSG:7001", "airy 1830 osgb", "AIRY 1830"}) {
    EXPECT_EQ(project_on(spheroid).out, by_name.out) << spheroid;
  }
  EXPECT_NE(project_on("WGS84").out, by_name.out);
}

TEST_F(ProjectCommand, RefusesPositionsOutOfRange) {
  const auto run = RunCli(With(kNationalGrid, {"91,0", "45,1e400"}));
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
}

}  // namespace
}  // namespace orvale
