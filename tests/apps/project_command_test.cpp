#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_validation.h"
#include "orvale/platform/text_encoding.h"
#include "projection_select.h"
#include "run_cli.h"
#include "support/projection_fixture.h"
#include "support/temporary_drives.h"
#include "text_fields.h"

namespace orvale {
namespace {

using testing::RunCli;

class ProjectCommand : public testing::TemporaryDrives {};

const std::vector<std::string> kGridOnSpheroid = {
    "project", "--type",       "tm",   "--lat0", "49",   "--lon0", "-2",
    "--k0",    "0.9996012717", "--fe", "400000", "--fn", "-100000"};

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more) {
  base.insert(base.end(), more.begin(), more.end());
  return base;
}

const std::vector<std::string> kNationalGrid =
    With(kGridOnSpheroid, {"--a", "6377563.396", "--rf", "299.3249646"});

// What the engine itself gives for the National Grid set-up above, printed as the
// command prints it: the command must add nothing and lose nothing. (How close the
// engine comes to the published figures is the worked examples' business.)
std::string Engine(bool inverse, double x, double y) {
  testing::TestProjection grid("a=6377563.396 rf=299.3249646",
                               "type=1 lat0=49 lon0=-2 k0=0.9996012717 fe=400000 fn=-100000");
  double a = 0.0, b = 0.0;
  char text[64];
  if (inverse) {
    EXPECT_EQ(grid.GridToGeog(x, y, &a, &b), ProjectionStatus::kOk);
    std::snprintf(text, sizeof text, "%.7f %.7f", a * kDegreesPerRadian, b * kDegreesPerRadian);
  } else {
    EXPECT_EQ(grid.GeogToGrid(x / kDegreesPerRadian, y / kDegreesPerRadian, &a, &b),
              ProjectionStatus::kOk);
    std::snprintf(text, sizeof text, "%.3f %.3f", a, b);
  }
  return text;
}
std::string EngineGrid(double latitude, double longitude) {
  return Engine(false, latitude, longitude);
}
std::string EngineGeog(double easting, double northing) {
  return Engine(true, easting, northing);
}
std::string Csv(std::string text) {
  std::replace(text.begin(), text.end(), ' ', ',');
  return text;
}

TEST_F(ProjectCommand, ProjectsTheOrdnanceSurveyWorkedExampleAsTheEngineDoesAndBack) {
  const auto run = RunCli(With(kNationalGrid, {"52:39:27.2531N,1:43:04.5177E"}));
  EXPECT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_EQ(run.out, EngineGrid(52.657570306, 1.717921583) + "\n");
  // Published: 651409.903 313177.270; the series lands within a few millimetres.
  EXPECT_EQ(run.out.substr(0, 14), "651409.903 313") << run.out;
  const auto back =
      RunCli(With(kNationalGrid, {"--inverse", "--decimals", "7", "651409.903 313177.270"}));
  EXPECT_EQ(back.status, cli::kExitOk) << back.err;
  EXPECT_EQ(back.out, EngineGeog(651409.903, 313177.270) + "\n");
  EXPECT_EQ(back.out.substr(0, 8), "52.65757") << back.out;
}

TEST_F(ProjectCommand, StreamsCsvWithIdsAndKeepsBadLinesInPlace) {
  const std::string input =
      "# Caister and friends\nA,52.657570306,1.717921583\nB,north,east\n\n"
      "C,52.657570306,1.717921583\n";
  const auto run = RunCli(With(kNationalGrid, {"--id", "--format", "csv"}), input);
  EXPECT_EQ(run.status, cli::kExitBadInput);
  const std::string caister = Csv(EngineGrid(52.657570306, 1.717921583));
  EXPECT_EQ(testing::Lines(run.out, /*cut_errors=*/true),
            (std::vector<std::string>{"id,easting,northing", "# Caister and friends",
                                      "A," + caister, "ERROR: ", "", "C," + caister}));
  EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
}

// Grid lines go through the projection a run at a time; a bad line among them must
// still be reported in its place, and every good line get its own position.
TEST_F(ProjectCommand, ConvertsGridLinesAmongBadOnesEachInItsPlace) {
  const std::string input =
      "A,651409.903,313177.270\nB,x,y\n# comment\nC,400000,-100000\nD,1,2,3\n"
      "E,651409.903,313177.270\n";
  const auto run = RunCli(
      With(kNationalGrid, {"--inverse", "--id", "--format", "csv", "--decimals", "7"}), input);
  EXPECT_EQ(run.status, cli::kExitBadInput);
  const std::string caister = Csv(EngineGeog(651409.903, 313177.270));
  EXPECT_EQ(
      testing::Lines(run.out, /*cut_errors=*/true),
      (std::vector<std::string>{"id,latitude,longitude", "A," + caister, "ERROR: ", "# comment",
                                "C," + Csv(EngineGeog(400000, -100000)),
                                "\"ERROR: expected an id, easting and northing, found 4 fields\"",
                                "E," + caister}));
  EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("line 5"), std::string::npos) << run.err;
}

TEST_F(ProjectCommand, GivesTheSameOutputWhateverTheNumberOfWorkers) {
  std::string geographical, grid;
  for (int i = 0; i < 5000; ++i) {
    geographical +=
        std::to_string(50.0 + i * 0.0007) + " " + std::to_string(-4.0 + i * 0.0011) + "\n";
    grid += std::to_string(300000.0 + i * 37.1) + " " + std::to_string(i * 211.3) + "\n";
  }
  for (const auto& [input, inverse] : {std::pair{geographical, false}, std::pair{grid, true}}) {
    SCOPED_TRACE(inverse ? "inverse" : "forward");
    std::vector<std::string> options = {"--convergence", "--scale"};
    if (inverse) options.push_back("--inverse");
    const auto one = RunCli(With(With(kNationalGrid, options), {"--jobs", "1"}), input);
    const auto two = RunCli(With(With(kNationalGrid, options), {"--jobs", "2"}), input);
    EXPECT_EQ(one.status, cli::kExitOk) << one.err;
    EXPECT_EQ(one.out, two.out);
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 5000);
  }
}

TEST_F(ProjectCommand, WritesJsonLinesWithEscapedIds) {
  const auto run = RunCli(
      With(kNationalGrid, {"--id", "--format", "json", "Cai\"ster\\1,52.657570306,1.717921583"}));
  const std::string grid = EngineGrid(52.657570306, 1.717921583);
  const std::size_t space = grid.find(' ');
  EXPECT_EQ(run.out, "{\"id\":\"Cai\\\"ster\\\\1\",\"easting\":" + grid.substr(0, space) +
                         ",\"northing\":" + grid.substr(space + 1) + "}\n")
      << run.err;
}

// Lengths in another unit and angles in a notation are the engine's values divided by
// the unit table's factor, and shown by the engine's display rules, to the last digit.
TEST_F(ProjectCommand, GivesTheEngineValuesInAnyUnitAndNotation) {
  testing::TestProjection grid("a=6377563.396 rf=299.3249646",
                               "type=1 lat0=49 lon0=-2 k0=0.9996012717 fe=400000 fn=-100000");
  double e = 0.0, n = 0.0, lat = 0.0, lon = 0.0;
  ASSERT_EQ(
      grid.GeogToGrid(52.657570306 / kDegreesPerRadian, 1.717921583 / kDegreesPerRadian, &e, &n),
      ProjectionStatus::kOk);
  const struct {
    const char* unit;
    double metres;
  } units[] = {{"us-ft", kMetresPerUsSurveyFoot}, {"ft", 0.3048}, {"km", 1000.0}};
  for (const auto& unit : units) {
    SCOPED_TRACE(unit.unit);
    char text[64];
    std::snprintf(text, sizeof text, "%.3f %.3f\n", e / unit.metres, n / unit.metres);
    EXPECT_EQ(RunCli(With(kNationalGrid, {"--units", unit.unit, "52.657570306,1.717921583"})).out,
              text);
    ASSERT_EQ(grid.GridToGeog(651409.903 / unit.metres * unit.metres,
                              313177.270 / unit.metres * unit.metres, &lat, &lon),
              ProjectionStatus::kOk);
    std::snprintf(text, sizeof text, "%.17g,%.17g", 651409.903 / unit.metres,
                  313177.270 / unit.metres);
    const auto back = RunCli(With(kNationalGrid, {"--units", unit.unit, "-i", "--angles", "dms",
                                                  "--format", "csv", "--no-header", text}));
    EXPECT_EQ(back.out,
              cli::CsvField(Cp1252ToUtf8(FormatAngle(lat, ANGLE_LATITUDE, ANGLE_PREF_DMS))) + "," +
                  cli::CsvField(Cp1252ToUtf8(FormatAngle(lon, ANGLE_LONGITUDE, ANGLE_PREF_DMS))) +
                  "\n")
        << back.err;
  }
  EXPECT_NE(RunCli(With(kNationalGrid, {"--units", "us-ft", "52,1"})).out,
            RunCli(With(kNationalGrid, {"--units", "ft", "52,1"})).out);
}

TEST_F(ProjectCommand, FindsSpheroidsByIndexEpsgCodeOrFullName) {
  auto project_on = [](const char* spheroid) {
    return RunCli(With(kGridOnSpheroid, {"--spheroid", spheroid, "52.657570306,1.717921583"}));
  };
  const auto by_name = project_on("Airy 1830");
  ASSERT_EQ(by_name.status, cli::kExitOk) << by_name.err;
  EXPECT_EQ(by_name.out.substr(0, 14), "651409.903 313") << by_name.out;
  for (const char* spheroid : {"0", "EPSG:7001", "airy 1830 osgb", "AIRY 1830"})
    EXPECT_EQ(project_on(spheroid).out, by_name.out) << spheroid;
  EXPECT_NE(project_on("WGS84").out, by_name.out);
}

TEST_F(ProjectCommand, SkipsAnOverlongLineAndGoesOn) {
  const std::string input = std::string(1 << 20, '7') + "\n52.657570306,1.717921583\n49,-2";
  const auto run = RunCli(With(kNationalGrid, {}), input);
  EXPECT_EQ(run.status, cli::kExitBadInput);
  const auto second = run.out.find('\n') + 1;
  EXPECT_EQ(run.out.rfind("ERROR: line longer than", 0), 0u) << run.out.substr(0, 80);
  EXPECT_EQ(run.out.substr(second, 14), "651409.903 313") << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << "the last line has no line end";
  EXPECT_NE(run.err.find("line 1:"), std::string::npos) << run.err;
}

// The checks refuse parameters that define no projection, never a row of the
// catalogue: every built-in row passes them, so --projection refuses none.
TEST_F(ProjectCommand, EveryCatalogueRowPassesTheParameterChecks) {
  CSpheroid spheroid;
  CProjection scratch;
  scratch.m_Spheroid = &spheroid;
  int rows = 0;
  static_cast<void>(
      cli::VisitCatalogue(-1, scratch, [&](const cli::CatalogueEntry& entry, const CProjection& p) {
        ++rows;
        const ParameterProblem problem = CheckProjectionParameters(p);
        EXPECT_TRUE(problem.ok()) << entry.type << "/" << entry.index << ": parameter "
                                  << static_cast<int>(problem.parameter) << " " << problem.reason;
      }));
  EXPECT_GT(rows, 100);
}

}  // namespace
}  // namespace orvale
