// orvale projections (the catalogue listing) and the --projection selection text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/storage/data_folders.h"
#include "projection_select.h"
#include "run_cli.h"
#include "support/projection_fixture.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::CliRun;
using testing::Lines;

CliRun RunProjections(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "projections");
  return testing::RunCli(arguments);
}

using ProjectionsCommand = testing::TemporaryDrives;

TEST_F(ProjectionsCommand, ListsATypeAsAnAlignedTableAndEveryTypeWithoutAFilter) {
  const CliRun run = RunProjections({"--type", "tm"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + 39u);
  const std::string& header = lines[0];
  const std::size_t name = header.find("Name");
  const std::size_t country = header.find("Country");
  ASSERT_NE(name, std::string::npos);
  EXPECT_NE(header.find("\xCF\x86"
                        "0 (\xC2\xB0)"),
            std::string::npos)
      << "phi0 in UTF-8";
  EXPECT_EQ(lines[1].substr(name, 15), "Ordnance Survey");
  EXPECT_EQ(lines[1].substr(country, 13), "National Grid");
  for (const char* value : {"Airy 1830 OSGB", "  49  ", "  -2  ", "-100000", "0.9996012717"}) {
    EXPECT_NE(lines[1].find(value), std::string::npos) << value << " in " << lines[1];
  }
  EXPECT_EQ(lines[39].substr(name, 15), "Gauss Kruger 9N");
  EXPECT_EQ(std::stoi(lines[39]), 1) << "type first";

  const CliRun all = RunProjections({});
  ASSERT_EQ(all.status, cli::kExitOk) << all.err;
  const auto every = Lines(all.out);
  EXPECT_EQ(every.size(), 1u + 430u) << "62 UTM zones and the 368 other built-in rows";
  EXPECT_NE(every[32].find("Grid Zone 31 (3\xC2\xB0 E)"), std::string::npos) << "UTF-8";
}

TEST_F(ProjectionsCommand, WritesCsvWithTheSetUpValuesOfEachRowAndRecordsAfterTheRows) {
  const CliRun run = RunProjections({"--type", "12", "--csv"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + 130u);
  EXPECT_EQ(lines[0], "type,row,method,name,country,spheroid,lat0,lon0,fe,fn,k0");
  // The false easting is 500000 US feet in metres, to the last digit of the double.
  EXPECT_EQ(lines[130],
            "12,129,2,Wyoming (West),Code 4904,Clarke 1866 Spheroid,40.6666666667,"
            "-110.0833333333,152400.30480060962,0,0.9999411765");

  testing::SaveProjectionRecord("Cafe", PROJECTION_TRANSVERSE_MERCATOR, "Caf\xE9",
                                "Site, \"east\"");  // Windows-1252 to UTF-8, quoted
  const auto tm = Lines(RunProjections({"--type", "1", "--csv"}).out);
  ASSERT_EQ(tm.size(), 1u + 40u);
  EXPECT_TRUE(tm[40].starts_with("1,39,0,Caf\xC3\xA9,\"Site, \"\"east\"\"\",Airy 1830 OSGB,50,1,"))
      << tm[40];
}

TEST_F(ProjectionsCommand, WritesJsonAndNamesARecordThatCannotBeReadWithoutCountingIt) {
  testing::SaveProjectionRecord("Good", PROJECTION_TRANSVERSE_MERCATOR, "Good", "");
  testing::TemporaryDrives::WriteBytes(
      RecordFolder() + "Broken.PRJ",
      std::string("Broken\n\n\n\n") + std::string("\x01\0\0\0", 4) + "short");
  const CliRun run = RunProjections({"--type", "tm", "--json"});
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_NE(run.err.find("Broken.PRJ"), std::string::npos) << run.err;
  // JSON lines, keyed as the CSV header; numbers stay numbers.
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 40u) << "39 rows and the good record";
  EXPECT_EQ(lines[0],
            "{\"type\":1,\"row\":0,\"method\":0,\"name\":\"Ordnance Survey\","
            "\"country\":\"National Grid\",\"spheroid\":\"Airy 1830 OSGB\",\"lat0\":49,"
            "\"lon0\":-2,\"fe\":400000,\"fn\":-100000,\"k0\":0.9996012717}");
  EXPECT_EQ(run.out.find("Broken"), std::string::npos) << "it takes no row";
  EXPECT_TRUE(lines[39].starts_with("{\"type\":1,\"row\":39,\"method\":0,\"name\":\"Good\""))
      << lines[39];
  // The row listed is the row selected.
  testing::TestProjection selected;
  std::string problem;
  ASSERT_TRUE(cli::SelectProjection("tm/39", selected, problem)) << problem;
  EXPECT_EQ(selected.m_Name, "Good");
}

TEST_F(ProjectionsCommand, EscapesControlCharactersOfNamesInTheTable) {
  testing::SaveProjectionRecord("Odd", PROJECTION_TRANSVERSE_MERCATOR, "Clear\x1B[2J", "Bell\x07");
  const CliRun run = RunProjections({"--type", "tm"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + 40u);
  for (const char* shown : {"Clear\\x1B[2J ", " Bell\\x07 "})
    EXPECT_NE(lines[40].find(shown), std::string::npos) << lines[40];
  EXPECT_EQ(run.out.find_first_of("\x1B\x07"), std::string::npos);
}

// ---------------------------------------------------------------------------------
// --projection

class ProjectionSelection : public testing::TemporaryDrives {
 protected:
  ProjectionSelection() { projection_.m_Spheroid = &spheroid_; }
  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(ProjectionSelection, TakesATypeAndRowAZoneOrANameOrSaysWhyNot) {
  for (const testing::TextRow& row : testing::ReadTextTable("apps/projection_selection.txt")) {
    SCOPED_TRACE(row.where);
    std::string problem;
    const std::string before = projection_.m_Name, spheroid = spheroid_.m_Name;
    if (row[1].starts_with("refused: ")) {
      EXPECT_FALSE(cli::SelectProjection(row[0], projection_, problem));
      EXPECT_NE(problem.find(row[1].substr(9)), std::string::npos) << problem;
      EXPECT_EQ(projection_.m_Name, before);
      EXPECT_EQ(spheroid_.m_Name, spheroid);
      continue;
    }
    ASSERT_TRUE(cli::SelectProjection(row[0], projection_, problem)) << problem;
    EXPECT_EQ(row[1], std::to_string(projection_.m_Type) + " " +
                          std::to_string(projection_.m_Index) + " " +
                          std::to_string(projection_.m_Method));
    EXPECT_EQ(projection_.m_Name, row[2]);
  }
  EXPECT_EQ(spheroid_.m_Name, "Clarke 1866 Spheroid") << "the last row's spheroid";
}

TEST_F(ProjectionSelection, FindsUserRecordsByIndexAndByName) {
  testing::SaveProjectionRecord("Local_Site 1", PROJECTION_CASSINI_SOLDNER, "Local", "Site 1");
  std::string problem;
  ASSERT_TRUE(cli::SelectProjection("cassini/2", projection_, problem)) << problem;
  EXPECT_EQ(projection_.m_FileTitle, "Local_Site 1");
  ASSERT_TRUE(projection_.SetFromIndex(0, PROJECTION_UTM, 0));
  ASSERT_TRUE(cli::SelectProjection("local site 1", projection_, problem)) << problem;
  EXPECT_EQ(projection_.m_Type, PROJECTION_CASSINI_SOLDNER);
  EXPECT_EQ(projection_.m_Index, 2);
}

}  // namespace
}  // namespace orvale
