#include "orvale/platform/list_export.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "orvale/platform/text_encoding.h"
#include "orvale/platform/xlsx_reader.h"
#include "support/text_table.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadTextTable;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A folder of the test's own for host paths.
class ListExport : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "list-export-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

// Records of RFC 4180 text, read as a spreadsheet program reads them.
std::vector<std::vector<std::string>> ParseCsv(std::string_view text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = records.back().back();
    if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      field += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      records.back().emplace_back();
    } else if (!quoted && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      records.emplace_back(1);
      ++i;
    } else {
      field += c;
    }
  }
  if (records.back().size() == 1 && records.back()[0].empty()) records.pop_back();
  return records;
}

CListCtrl TableOf(const std::vector<std::vector<std::string>>& rows,
                  const std::vector<std::string>& headings) {
  CListCtrl list;
  for (const std::string& heading : headings)
    list.InsertColumn(list.GetColumnCount(), heading, LVCFMT_RIGHT);
  for (const auto& row : rows) {
    const int item = list.InsertItem(list.GetItemCount(), row[0]);
    for (std::size_t c = 1; c < row.size(); ++c)
      EXPECT_TRUE(list.SetItemText(item, static_cast<int>(c), row[c]));
  }
  return list;
}

TEST(ListCsv, QuotesAndNeutralisesEachFieldAsTheTableSays) {
  CListCtrl list;
  list.InsertColumn(0, "Cell");
  std::string expected = std::string(kBom) + "Cell\r\n";
  for (const auto& row : ReadTextTable("dialogs/csv_fields.txt", 2)) {
    list.InsertItem(list.GetItemCount(), row[0]);
    expected += row[1] + "\r\n";
  }
  EXPECT_EQ(ListToCsv(list), expected);
}

TEST(ListCsv, ReadsBackAsTheSameCellsAndOneLineHeadings) {
  const std::vector<std::vector<std::string>> rows = {
      {"a,\"b\"", "line 1\r\nline 2", ""}, {"", "51\xB0", "x"}, {"12.5", "", "\"\""}};
  const CListCtrl list = TableOf(rows, {"False \nEanging", "        \n(C)", ""});
  const std::string csv = ListToCsv(list);
  ASSERT_EQ(csv.substr(0, kBom.size()), kBom);
  const auto records = ParseCsv(std::string_view(csv).substr(kBom.size()));
  ASSERT_EQ(records.size(), rows.size() + 1);
  EXPECT_EQ(records[0], (std::vector<std::string>{"False Eanging", "(C)", ""}));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(records[r + 1].size(), 3u);
    for (std::size_t c = 0; c < 3; ++c)
      EXPECT_EQ(records[r + 1][c], Cp1252ToUtf8(rows[r][c]));
  }
}

TEST(ListNumbers, ReadOnlyWholePlainDecimalNumbers) {
  double value = 0.0;
  int decimals = 0;
  ASSERT_TRUE(ReadListNumber("  -12.500 ", value, decimals));
  EXPECT_EQ(value, -12.5);
  EXPECT_EQ(decimals, 3);
  ASSERT_TRUE(ReadListNumber("6378137", value, decimals));
  EXPECT_EQ(decimals, 0);
  ASSERT_TRUE(ReadListNumber("+2.5E-3", value, decimals));
  EXPECT_EQ(value, 0.0025);
  EXPECT_EQ(decimals, -1);
  for (const char* text : {"", "n/a", "1.2.3", "12 E", "1e", "-", ".", "51\xB0", "0x10", "inf"})
    EXPECT_FALSE(ReadListNumber(text, value, decimals)) << text;
}

TEST(ListHtml, EscapesMarkupAndWritesUtf8) {
  const CListCtrl list =
      TableOf({{"<b>&\"x\"</b>", "51\xB0 30'"}}, {"Semi\nMajor", "A & B <script>"});
  const std::string page = ListToHtml(list, "Spheroid <Editor>");
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("<title>Spheroid &lt;Editor&gt;</title>"), std::string::npos);
  EXPECT_NE(page.find("<th>Semi<br>Major</th>"), std::string::npos);
  EXPECT_NE(page.find("<th>A &amp; B &lt;script&gt;</th>"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"r\">&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;</td>"),
            std::string::npos);
  EXPECT_NE(page.find("51\xC2\xB0 30'"), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("51\xB0"), std::string::npos);
}

TEST_F(ListExport, WritesFilesWholeOrLeavesTheOldOne) {
  const CListCtrl list = TableOf({{"1", "2"}}, {"A", "B"});
  const fs::path csv = folder_ / "list.csv";
  ASSERT_TRUE(ExportListCsv(list, csv.string()));
  EXPECT_EQ(ReadFile(csv), ListToCsv(list));
  ASSERT_TRUE(ExportListHtml(list, (folder_ / "list.html").string(), "T"));
  EXPECT_EQ(ReadFile(folder_ / "list.html"), ListToHtml(list, "T"));
  EXPECT_FALSE(ExportListCsv(list, (folder_ / "missing" / "list.csv").string()));
  std::string problem;
  EXPECT_FALSE(ExportListXlsx(list, (folder_ / "missing" / "list.xlsx").string(), "S", &problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(ListExport, WritesARealWorkbookWithNumbersAndTexts) {
  const CListCtrl list =
      TableOf({{"7030", "WGS 84", "6378137.00", "298.2572235630"},
               {"n/a", "a<b & \"c\"", "-0.5", "51\xB0 30' N"}},
              {"ESPG\nCode", "\nName", "Semi\nMajor\nAxis", "Inverse\nFlattening"});
  const fs::path path = folder_ / "Spheroid.xlsx";
  std::string problem;
  ASSERT_TRUE(
      ExportListXlsx(list, path.string(), "Spheroid [Editor]: a name longer than 31", &problem))
      << problem;
  EXPECT_EQ(ReadFile(path).substr(0, 4), std::string("PK\x03\x04", 4));
  // Read back by our own reader: every cell as the list shows it, the numbers at full
  // precision.
  std::vector<std::vector<std::string>> rows;
  const XlsxSheetResult read = ReadXlsxSheet(path.string(), "", [&](std::size_t, auto cells) {
    rows.emplace_back(cells.begin(), cells.end());
    return true;
  });
  ASSERT_TRUE(read.ok) << read.reason;
  EXPECT_EQ(read.sheet_name, "Spheroid _Editor__ a name longe");
  const std::vector<std::vector<std::string>> expected = {
      {"ESPG\nCode", "Name", "Semi\nMajor\nAxis", "Inverse\nFlattening"},
      {"7030", "WGS 84", "6378137", "298.257223563"},
      {"n/a", "a<b & \"c\"", "-0.5", "51\xC2\xB0 30' N"}};
  EXPECT_EQ(rows, expected);

  // Opened as a spreadsheet program opens it.
  if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-openpyxl is needed to open the workbook";
  const std::string script = std::string(ORVALE_TEST_DATA_DIR) + "/dialogs/xlsx_cells.py";
  const std::string listing = (folder_ / "cells.txt").string();
  ASSERT_EQ(
      std::system(("/usr/bin/python3 '" + script + "' '" + path.string() + "' > '" + listing + "'")
                      .c_str()),
      0);
  EXPECT_EQ(ReadFile(listing),
            "Spheroid _Editor__ a name longe\n"
            "A1|s|ESPG\\nCode|\n"
            "B1|s|Name|\n"
            "C1|s|Semi\\nMajor\\nAxis|\n"
            "D1|s|Inverse\\nFlattening|\n"
            "A2|n|7030|0\n"
            "B2|s|WGS 84|\n"
            "C2|n|6378137|0.00\n"
            "D2|n|298.257223563|0.0000000000\n"
            "A3|s|n/a|\n"
            "B3|s|a<b & \"c\"|\n"
            "C3|n|-0.5|0.0\n"
            "D3|s|51\xC2\xB0 30' N|\n");
}

class FixedFileDialogs : public IFileDialogs {
 public:
  std::optional<std::string> answer;
  std::string suggested, shown;
  std::optional<std::string> GetSaveFileName(std::string_view name) override {
    suggested = name;
    return answer;
  }
  std::optional<std::string> GetOpenFileName(std::string_view) override { return answer; }
  void ShowPrintPage(std::string_view path) override { shown = path; }
};

TEST_F(ListExport, ButtonsAskTheHostWhereAndDoNothingWhenCancelled) {
  const CListCtrl list = TableOf({{"x"}}, {"A"});
  FixedFileDialogs host;
  CCsvListCtrlBtn csv;
  EXPECT_FALSE(csv.OnClicked());  // no list, no host
  csv.SetListCtrl(&list);
  csv.SetHost(&host);
  csv.SetFileName("Spheroid");
  EXPECT_FALSE(csv.OnClicked());  // cancelled
  EXPECT_EQ(host.suggested, "Spheroid.csv");
  host.answer = (folder_ / "chosen.csv").string();
  ASSERT_TRUE(csv.OnClicked());
  EXPECT_EQ(ReadFile(*host.answer), ListToCsv(list));

  CExcelListCtrlBtn excel;
  excel.SetListCtrl(&list);
  excel.SetHost(&host);
  excel.SetFileName("Datum");
  host.answer = (folder_ / "chosen.xlsx").string();
  ASSERT_TRUE(excel.OnClicked());
  EXPECT_EQ(host.suggested, "Datum.xlsx");
  EXPECT_TRUE(fs::exists(*host.answer));

  CPrintListCtrlBtn print;
  print.SetListCtrl(&list);
  print.SetHost(&host);
  print.SetFileName("Datum");
  print.SetTitle("Datum Editor");
  print.SetFolder(folder_.string());
  ASSERT_TRUE(print.OnClicked());
  EXPECT_EQ(host.shown, (folder_ / "Datum.html").string());
  EXPECT_EQ(ReadFile(host.shown), ListToHtml(list, "Datum Editor"));
}

}  // namespace
}  // namespace orvale
