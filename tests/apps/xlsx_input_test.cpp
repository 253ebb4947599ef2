// Workbooks as input of the point pipeline: a sheet reads as the same CSV would.
#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <fstream>
#include <string>
#include <vector>

#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;
using XlsxInput = testing::TemporaryDrives;

TEST_F(XlsxInput, ReadsTheChosenSheetAsItsCsvWouldRead) {
  const std::vector<std::vector<std::string>> rows = {
      {"name", "lat", "lon"}, {"Trig, \"A\"", "51.5", "3.25"}, {"B", "52", "x"}, {"C", "40", "2"}};
  const std::string book = Root() + "/points.XLSX", csv = Root() + "/points.csv";
  lxw_workbook* workbook = workbook_new(book.c_str());
  ASSERT_NE(workbook, nullptr);
  worksheet_write_string(workbook_add_worksheet(workbook, "Notes"), 0, 0, "lat", nullptr);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Points");
  std::ofstream text(csv);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const std::string& cell = rows[r][c];
      const bool number = r > 0 && c > 0 && cell != "x";
      if (number)
        worksheet_write_number(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                               std::stod(cell), nullptr);
      else
        worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                               cell.c_str(), nullptr);
      text << (c ? "," : "")
           << (cell.find(',') != std::string::npos ? "\"Trig, \"\"A\"\"\"" : cell);
    }
    text << "\n";
  }
  text.close();
  ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

  const std::vector<std::string> project = {"project", "--projection", "utm:31", "--columns",
                                            "lat,lon", "-f",           "csv"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> arguments = project;
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  };
  const auto from_csv = RunCli(with({"--csv-in", "--input", csv}));
  EXPECT_EQ(from_csv.status, 1) << "row B fails";
  for (const std::string sheet_name : {"Points", "2"}) {
    const auto from_sheet = RunCli(with({"--input", book, "--sheet", sheet_name}));
    EXPECT_EQ(from_sheet.status, from_csv.status);
    EXPECT_EQ(from_sheet.out, from_csv.out);
    EXPECT_NE(from_sheet.out.find("Trig"), std::string::npos);
  }
  const auto missing = RunCli(with({"--input", book, "--sheet", "Third"}));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("it has no sheet Third"), std::string::npos) << missing.err;
  const auto not_a_book = RunCli(with({"--input", csv, "--sheet", "1"}));
  EXPECT_EQ(not_a_book.err, "orvale project: --sheet needs an .xlsx --input\n");
}

}  // namespace
}  // namespace orvale
