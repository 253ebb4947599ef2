#include "orvale/dialogs/point_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <xlsxwriter.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "orvale/dialogs/import_selectors.h"
#include "orvale/engine/angles/angles.h"
#include "support/text_table.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;
const std::string kData = ORVALE_TEST_DATA_DIR;

TEST(PointFile, ReadsGeographicalCsvRowByRow) {
  // The columns in file order; the expectations name each row by its number.
  const std::array<int, 9> columns = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  const PointFileResult result = ReadPointFile(kData + "/dialogs/point_geog.csv", false, "",
                                               columns, PointFileKind::kGeographical);
  ASSERT_TRUE(result.ok) << result.reason;
  std::size_t point = 0, problem = 0;
  for (const auto& row : testing::ReadTextTable("dialogs/point_geog_expected.txt")) {
    SCOPED_TRACE(row.where);
    const std::size_t number = std::stoul(row[0]);
    if (row[1] == "!") {
      ASSERT_LT(problem, result.problems.size());
      EXPECT_EQ(result.problems[problem].row, number);
      EXPECT_EQ(result.problems[problem++].reason, row[2]);
      continue;
    }
    ASSERT_LT(point, result.points.size());
    const FilePoint& read = result.points[point++];
    EXPECT_EQ(read.row, number);
    EXPECT_EQ(read.name, row[1]);
    EXPECT_NEAR(read.first, std::stod(row[2]) * kRadiansPerDegree, 1e-15);
    EXPECT_NEAR(read.second, std::stod(row[3]) * kRadiansPerDegree, 1e-15);
  }
  EXPECT_EQ(point, result.points.size());
  EXPECT_EQ(problem, result.problems.size());
}

class PointFileIn : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "point-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(PointFileIn, ReadsGridColumnsInAnyOrderWithoutNames) {
  const fs::path path = folder_ / "grid.CSV";
  std::ofstream(path) << "\xEF\xBB\xBF"
                         "4649776.25,x,500000\n-1e3,,\"0.5\"\n";
  CGridCsvSelector selector;
  selector.m_Path = folder_.string() + "/";
  selector.m_FileName = "grid";
  const std::array<int, 3> columns = {-1, 2, 0};
  const PointFileResult result = ReadPointFile(selector, false, columns, PointFileKind::kGrid);
  ASSERT_TRUE(result.ok) << result.reason;
  ASSERT_EQ(result.points.size(), 2u);
  EXPECT_TRUE(result.problems.empty());
  EXPECT_EQ(result.points[0].name, "");
  EXPECT_EQ(result.points[0].first, 500000.0);
  EXPECT_EQ(result.points[0].second, 4649776.25);
  EXPECT_EQ(result.points[1].first, 0.5);
  EXPECT_EQ(result.points[1].second, -1000.0);

  const std::array<int, 3> no_northing = {0, 1, -1};
  const PointFileResult refused = ReadPointFile(selector, false, no_northing, PointFileKind::kGrid);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.reason, "no column holds the northing");
  selector.m_FileName = "missing";
  EXPECT_FALSE(ReadPointFile(selector, false, columns, PointFileKind::kGrid).ok);
}

TEST_F(PointFileIn, ReadsAWorkbookSheetTheSelectorChose) {
  const fs::path path = folder_ / "points.xlsx";
  lxw_workbook* book = workbook_new(path.c_str());
  ASSERT_NE(book, nullptr);
  workbook_add_worksheet(book, "Notes");
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Grid");
  worksheet_write_string(sheet, 0, 0, "Name", nullptr);
  worksheet_write_string(sheet, 0, 1, "Easting", nullptr);
  worksheet_write_string(sheet, 0, 2, "Northing", nullptr);
  worksheet_write_string(sheet, 1, 0, "Trig 1", nullptr);
  worksheet_write_number(sheet, 1, 1, 612345.125, nullptr);
  worksheet_write_string(sheet, 1, 2, " 5123456.5 ", nullptr);
  worksheet_write_string(sheet, 3, 0, "Trig 2", nullptr);
  worksheet_write_string(sheet, 3, 1, "east", nullptr);
  worksheet_write_number(sheet, 3, 2, 1, nullptr);
  ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

  CGridExcelSelector selector;
  selector.m_Path = folder_.string() + "/";
  selector.m_FileName = "points";
  selector.m_SheetName = "Grid";
  const std::array<int, 3> columns = {0, 1, 2};
  PointFileResult result = ReadPointFile(selector, true, columns, PointFileKind::kGrid);
  ASSERT_TRUE(result.ok) << result.reason;
  ASSERT_EQ(result.points.size(), 1u);
  EXPECT_EQ(result.points[0].row, 2u);
  EXPECT_EQ(result.points[0].name, "Trig 1");
  EXPECT_EQ(result.points[0].first, 612345.125);
  EXPECT_EQ(result.points[0].second, 5123456.5);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].row, 4u);
  EXPECT_EQ(result.problems[0].reason, "easting \"east\" is not a number");

  selector.m_SheetName = "Elsewhere";
  result = ReadPointFile(selector, true, columns, PointFileKind::kGrid);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.reason.find("it has no sheet Elsewhere"), std::string::npos);
}

TEST_F(PointFileIn, ReadsAWorkbookOpenpyxlWroteWithColumnsInItsOwnOrder) {
  if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-openpyxl is needed to write the workbook";
  // Longitude first, names second, quadrant letters in lower case and a date where a
  // latitude belongs, as another program's sheet may well be laid out.
  const fs::path path = folder_ / "stations.xlsx";
  const std::string script =
      "import datetime, openpyxl, sys\n"
      "book = openpyxl.Workbook()\n"
      "book.active.title = 'Notes'\n"
      "sheet = book.create_sheet('Stations')\n"
      "sheet.append(['Lon', 'Name', 'Lat', 'Min', 'NS', 'EW'])\n"
      "sheet.append([1.5, 'Alpha', 51, 30.5, 's', 'w'])\n"
      "sheet.append([2, 'Beta', datetime.date(2024, 2, 29), 0, 'N', 'E'])\n"
      "book.save(sys.argv[1])\n";
  ASSERT_EQ(std::system(("/usr/bin/python3 -c \"" + script + "\" '" + path.string() + "'").c_str()),
            0);

  CGeogExcelSelector selector;
  selector.m_Path = folder_.string() + "/";
  selector.m_FileName = "stations";
  selector.m_SheetName = "Stations";
  const std::array<int, 9> columns = {1, 2, 3, -1, 4, 0, -1, -1, 5};
  const PointFileResult result =
      ReadPointFile(selector, true, columns, PointFileKind::kGeographical);
  ASSERT_TRUE(result.ok) << result.reason;
  ASSERT_EQ(result.points.size(), 1u);
  EXPECT_EQ(result.points[0].row, 2u);
  EXPECT_EQ(result.points[0].name, "Alpha");
  EXPECT_NEAR(result.points[0].first, -(51 + 30.5 / 60) * kRadiansPerDegree, 1e-15);
  EXPECT_NEAR(result.points[0].second, -1.5 * kRadiansPerDegree, 1e-15);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].row, 3u);
  EXPECT_NE(result.problems[0].reason.find("2024-02-29"), std::string::npos)
      << result.problems[0].reason;
}

}  // namespace
}  // namespace orvale
