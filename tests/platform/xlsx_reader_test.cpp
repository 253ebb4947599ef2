#include "orvale/platform/xlsx_reader.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <utility>
#include <vector>

#include "support/text_table.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;
using Parts = std::vector<std::pair<std::string, std::string>>;

// An archive of the given entries, deflated.
void WriteZip(const fs::path& path, const Parts& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, bytes] : parts) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    ASSERT_NE(source, nullptr);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

const std::string kMain = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A workbook of one sheet "Data" whose rows are `rows`, the parts named as Excel names
// them but reached through relative and absolute targets.
Parts Workbook(const std::string& rows, const std::string& num_fmt = "0",
               const std::string& code = "", bool date1904 = false) {
  const std::string formats = code.empty() ? ""
                                           : "<numFmts><numFmt numFmtId=\"" + num_fmt +
                                                 "\" formatCode=\"" + code + "\"/></numFmts>";
  return {
      {"_rels/.rels", "<Relationships><Relationship Id=\"rId1\" Type=\"" + kRel +
                          "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", "<workbook " + kMain + " xmlns:r=\"" + kRel +
                              "\"><workbookPr date1904=\"" + (date1904 ? "1" : "0") +
                              "\"/><sheets><sheet name=\"Data\" sheetId=\"1\" "
                              "r:id=\"rId3\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships><Relationship Id=\"rId1\" Type=\"" + kRel +
           "/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/><Relationship Id=\"rId2\" Type=\"" +
           kRel + "/styles\" Target=\"styles.xml\"/><Relationship Id=\"rId3\" Type=\"" + kRel +
           "/worksheet\" Target=\"worksheets/../worksheets/sheet1.xml\"/></Relationships>"},
      {"xl/sharedStrings.xml",
       "<sst " + kMain +
           "><si><t>plain</t></si><si><r><t>Ab</t></r><r><rPr/><t>cd</t></r><rPh><t>x</t></rPh></"
           "si><si><t>a_x000D_b_x005F_x0041_</t></si></sst>"},
      {"xl/styles.xml", "<styleSheet " + kMain + ">" + formats +
                            "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs><cellXfs><xf "
                            "numFmtId=\"0\"/><xf numFmtId=\"" +
                            num_fmt + "\"/></cellXfs></styleSheet>"},
      {"xl/worksheets/sheet1.xml",
       "<worksheet " + kMain + "><sheetData>" + rows + "</sheetData></worksheet>"}};
}

class XlsxReader : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "xlsx-reader-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Every row read, as "row:cell;cell".
  XlsxSheetResult Read(const fs::path& path, std::string_view sheet, std::vector<std::string>& rows,
                       const XlsxLimits& limits = {}) {
    return ReadXlsxSheet(
        path.string(), sheet,
        [&](std::size_t row, std::span<const std::string> cells) {
          std::string text = std::to_string(row) + ":";
          for (std::size_t i = 0; i < cells.size(); ++i)
            text += (i ? ";" : "") + cells[i];
          rows.push_back(text);
          return true;
        },
        limits);
  }
  fs::path folder_;
};

TEST_F(XlsxReader, ReadsEveryKindOfCell) {
  for (const auto& row : testing::ReadTextTable("dialogs/point_xlsx_cells.txt", 5)) {
    SCOPED_TRACE(row.where);
    const fs::path path = folder_ / "cells.xlsx";
    WriteZip(path, Workbook("<row r=\"1\">" + row[3] + "</row>", row[0], row[1], row[2] == "1"));
    std::vector<std::string> rows;
    const XlsxSheetResult result = Read(path, "", rows);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.sheet_name, "Data");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], "1:" + row[4]);
  }
}

TEST_F(XlsxReader, NumbersRowsWithoutReferencesAndSkipsEmptyOnes) {
  const fs::path path = folder_ / "rows.xlsx";
  WriteZip(path, Workbook("<row><c><v>1</v></c></row><row r=\"4\"><c r=\"B4\"/></row><row "
                          "r=\"7\"><c><v>7</v></c></row><row><c><v>8</v></c></row>"));
  std::vector<std::string> rows;
  ASSERT_TRUE(Read(path, "", rows).ok);
  EXPECT_EQ(rows, (std::vector<std::string>{"1:1", "7:7", "8:8"}));
  // The callback stops the reading early without failing it.
  std::size_t seen = 0;
  const auto result =
      ReadXlsxSheet(path.string(), "Data", [&](std::size_t, auto) { return ++seen < 2; });
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(seen, 2u);
}

TEST_F(XlsxReader, ReadsWhatLibxlsxwriterWrites) {
  const fs::path path = folder_ / "written.xlsx";
  lxw_workbook* book = workbook_new(path.c_str());
  ASSERT_NE(book, nullptr);
  worksheet_write_string(workbook_add_worksheet(book, "First"), 0, 0, "first", nullptr);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Points & <more>");
  lxw_format* date = workbook_add_format(book);
  format_set_num_format(date, "dd/mm/yyyy hh:mm");
  worksheet_write_string(sheet, 0, 0, "Trig \xC3\xA9 \"1\"", nullptr);
  worksheet_write_number(sheet, 0, 2, 4649776.22482, nullptr);
  worksheet_write_formula_num(sheet, 0, 3, "=C1*2", nullptr, 9299552.44964);
  worksheet_write_boolean(sheet, 0, 4, 1, nullptr);
  lxw_datetime when = {2024, 2, 29, 12, 30, 0};
  worksheet_write_datetime(sheet, 2, 1, &when, date);
  worksheet_write_formula_str(sheet, 2, 2, "=A1", nullptr, "Trig");
  ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

  for (const std::string_view chosen : {"Points & <more>", "2"}) {
    std::vector<std::string> rows;
    const XlsxSheetResult result = Read(path, chosen, rows);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.sheet_name, "Points & <more>");
    EXPECT_EQ(rows,
              (std::vector<std::string>{"1:Trig \xC3\xA9 \"1\";;4649776.22482;9299552.44964;TRUE",
                                        "3:;2024-02-29T12:30:00;Trig"}));
  }
  std::vector<std::string> rows;
  const XlsxSheetResult missing = Read(path, "Third", rows);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.reason, "it has no sheet Third (its sheets: First, Points & <more>)");
}

TEST_F(XlsxReader, ReadsWhatOpenpyxlWrites) {
  const std::string script = std::string(ORVALE_TEST_DATA_DIR) + "/../../tools/xlsx-samples";
  if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-openpyxl is needed to write the workbooks";
  ASSERT_EQ(std::system(("/usr/bin/python3 '" + script + "' '" + folder_.string() + "'").c_str()),
            0);
  for (const char* name : {"openpyxl-1900.xlsx", "openpyxl-1904.xlsx"}) {
    SCOPED_TRACE(name);
    std::vector<std::string> rows;
    const XlsxSheetResult result = Read(folder_ / name, "Points", rows);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.rows, 3u);
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "1:Name;Easting;Northing;Surveyed;Checked",
                        "2:Trig \xC3\xA9;500000;4649776.22482;2024-02-29T12:30:00;TRUE",
                        "3:Pillar;-12.5;0.001;1999-12-31;FALSE"}));
  }
}

// Each of these is refused, with a reason naming what is wrong.
TEST_F(XlsxReader, RefusesDamagedAndHostileFiles) {
  const fs::path good = folder_ / "good.xlsx";
  WriteZip(good, Workbook("<row r=\"1\"><c><v>1</v></c></row>"));
  std::ifstream in(good, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  const fs::path path = folder_ / "bad.xlsx";
  const auto refused = [&](const XlsxLimits& limits = {}) {
    std::vector<std::string> rows;
    const XlsxSheetResult result = Read(path, "", rows, limits);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(rows.empty());
    return result.reason;
  };
  std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  EXPECT_EQ(refused().find("it is not a readable workbook"), 0u);
  std::mt19937 random(7);
  std::string noise(4096, '\0');
  for (char& c : noise)
    c = static_cast<char>(random());
  std::ofstream(path, std::ios::binary) << noise;
  EXPECT_EQ(refused().find("it is not a readable workbook"), 0u);
  // A damaged byte inside a packed part.
  std::string damaged = bytes;
  const auto sheet = damaged.find("xl/worksheets/sheet1.xml");
  damaged[sheet + 30] = static_cast<char>(damaged[sheet + 30] ^ 0x55);
  std::ofstream(path, std::ios::binary) << damaged;
  EXPECT_FALSE(refused().empty());

  // Sixteen mebibytes of one character pack a thousand times smaller.
  Parts bomb = Workbook("<row r=\"1\"><c><v>1</v></c></row>");
  bomb.back().second = "<worksheet " + kMain + "><sheetData>" + std::string(16 << 20, ' ') +
                       "</sheetData></worksheet>";
  WriteZip(path, bomb);
  EXPECT_NE(refused().find("as an archive bomb does"), std::string::npos);
  WriteZip(path, Workbook("<row r=\"1\"><c><v>1</v></c></row>"));
  XlsxLimits small;
  small.max_unpacked_bytes = 600;
  EXPECT_NE(refused(small).find("bytes allowed"), std::string::npos);
  small = {};
  small.max_entries = 5;
  EXPECT_EQ(refused(small), "its archive holds 6 entries, more than the 5 a workbook may have");

  // A document type could declare entities that expand without end.
  Parts doctype = Workbook("");
  doctype[3].second =
      "<!DOCTYPE sst [<!ENTITY a \"aaaa\">]><sst " + kMain + "><si><t>&a;</t></si></sst>";
  WriteZip(path, doctype);
  EXPECT_EQ(refused(),
            "its part xl/sharedStrings.xml: it declares a document type, which is refused");
  Parts broken = Workbook("<row r=\"1\"><c><v>1</v></row>");
  WriteZip(path, broken);
  EXPECT_NE(refused().find("is not well-formed XML (line 1"), std::string::npos);
  broken = Workbook("<row r=\"1\"><c t=\"s\"><v>9</v></c></row>");
  WriteZip(path, broken);
  EXPECT_NE(refused().find("shared text 9"), std::string::npos);
  broken.erase(broken.begin());
  WriteZip(path, broken);
  EXPECT_EQ(refused(), "it has no part _rels/.rels");
}

}  // namespace
}  // namespace orvale
