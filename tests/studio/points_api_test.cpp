// The points table through the studio's API: CSV and .xlsx uploads previewed and
// converted row by row through the host's projection and datum shift (every row kept,
// bad rows and points outside a grid as statuses with their line numbers), the
// results exported and read back, refused uploads leaving nothing behind, and the
// import selectors' remembered columns.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apps/studio/record_routes.h"
#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/list_control.h"
#include "orvale/platform/list_export.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/platform/xlsx_reader.h"
#include "studio/record_routes_fixture.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    for (std::size_t k = 0; k < 4; ++k)
      text += k <= bytes.size() - i ? kDigits[(group >> (18 - 6 * k)) & 63u] : '=';
  }
  return text;
}

// Degrees of a latitude or longitude cell as the table shows it.
double Degrees(const std::string& cell, int type) {
  const auto text = Utf8ToCp1252(cell);
  EXPECT_TRUE(text.has_value()) << cell;
  const AngleParseResult angle = ParseAngle(text.value_or(""), type);
  EXPECT_TRUE(angle.ok) << cell << ": " << angle.error;
  return angle.radians * kDegreesPerRadian;
}

constexpr std::size_t kCap = 65536;

class PointsApi : public RecordRoutesTest {
 protected:
  void SetUp() override { SetUpRoutes(kCap); }

  json Upload(const std::string& name, std::string_view bytes, int status = 200) {
    return Post("/points/preview", {{"name", name}, {"content", Base64(bytes)}}, status);
  }
  // Files kept in the points' scratch folder.
  std::size_t StoredFiles() const {
    std::size_t count = 0;
    const auto folder = std::filesystem::path(scratch_) / "points";
    if (std::filesystem::exists(folder))
      for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        count += entry.is_regular_file();
    return count;
  }

  // The reference points of one form as a file's rows, with a bad row and a blank line.
  static std::vector<std::vector<std::string>> Rows(const std::string& form,
                                                    std::vector<testing::TextRow>& expected) {
    std::vector<std::vector<std::string>> rows = {{"Name", "First", "Second"}};
    for (const testing::TextRow& row : testing::ReadTextTable("studio/points_utm31.txt", 6)) {
      if (row[0] != form) continue;
      expected.push_back(row);
      rows.push_back({row[1], row[2], row[3]});
      if (expected.size() == 1) rows.push_back({"Bad", "12x", "7"});
    }
    return rows;
  }
  // Checks converted rows against the reference: line 3 is the bad row.
  static void ExpectConverted(const json& result, const std::string& form,
                              const std::vector<testing::TextRow>& expected,
                              const std::vector<std::size_t>& lines) {
    ASSERT_EQ(result["rows"].size(), expected.size() + 1);
    const bool geog = form == "geog";
    EXPECT_EQ(result["headings"][3], geog ? "Easting" : "Latitude");
    std::size_t next = 0;
    for (std::size_t r = 0; r < result["rows"].size(); ++r) {
      const json& row = result["rows"][r];
      SCOPED_TRACE(row.dump());
      EXPECT_EQ(row["line"], lines[r]);
      if (r == 1) {
        EXPECT_NE(row["status"].get<std::string>().find("12x"), std::string::npos);
        EXPECT_EQ(row["cells"].size(), result["headings"].size()) << "a bad row keeps its place";
        continue;
      }
      const testing::TextRow& want = expected[next++];
      EXPECT_EQ(row["status"], "ok");
      EXPECT_EQ(row["method"], "Grid Zone 31 (3\u00B0 E)") << "the projection's name, in UTF-8";
      EXPECT_EQ(row["cells"][0], want[1]);
      const std::vector<double> out = {std::stod(want[4]), std::stod(want[5])};
      if (geog) {
        EXPECT_NEAR(std::stod(row["cells"][3].get<std::string>()), out[0], 6e-4);
        EXPECT_NEAR(std::stod(row["cells"][4].get<std::string>()), out[1], 6e-4);
      } else {
        EXPECT_NEAR(Degrees(row["cells"][3], ANGLE_LATITUDE), out[0], 1e-8);
        EXPECT_NEAR(Degrees(row["cells"][4], ANGLE_LONGITUDE), out[1], 1e-8);
      }
    }
  }
};

const std::vector<int> kGridColumns = {0, 1, 2};
const std::vector<int> kGeogColumns = {0, 1, -1, -1, -1, 2, -1, -1, -1};

TEST_F(PointsApi, CsvRowsConvertThroughTheHostsProjectionEveryRowKept) {
  for (const std::string form : {"grid", "geog"}) {
    SCOPED_TRACE(form);
    std::vector<testing::TextRow> expected;
    std::string csv;
    for (const auto& row : Rows(form, expected))
      csv += row[0] + "," + row[1] + "," + row[2] + "\r\n";
    csv.insert(csv.find("\r\n", csv.find("Bad")) + 2, "\r\n");  // a blank line is no row
    const json preview = Upload("pts.csv", csv);
    EXPECT_EQ(preview["columns"], 3);
    EXPECT_EQ(preview["rows"][0], json({"Name", "First", "Second"}));
    EXPECT_EQ(preview["lines"][1], 2);
    const json result =
        Post("/points/convert", {{"file", preview["file"]},
                                 {"pane", "grid-to-geog"},
                                 {"form", form},
                                 {"columns", form == "grid" ? kGridColumns : kGeogColumns}});
    ExpectConverted(result, form, expected, {2, 3, 5, 6});
  }
}

TEST_F(PointsApi, AnXlsxSheetConvertsAndTheResultsExportToCsvAndXlsx) {
  std::vector<testing::TextRow> expected;
  CListCtrl list;
  const auto rows = Rows("grid", expected);
  // A name that a spreadsheet would run as a command, were it not neutralised.
  const std::string formula = "=cmd|' /C calc'!A0";
  expected[0].fields[1] = formula;
  for (const std::string& heading : rows[0])
    static_cast<void>(list.InsertColumn(list.GetColumnCount(), heading));
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const int item = list.InsertItem(list.GetItemCount(), r == 1 ? formula : rows[r][0]);
    static_cast<void>(list.SetItemText(item, 1, rows[r][1]));
    static_cast<void>(list.SetItemText(item, 2, rows[r][2]));
  }
  const std::string book = Root() + "/points.xlsx";
  ASSERT_TRUE(ExportListXlsx(list, book, "Survey"));
  std::ifstream in(book, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  const json preview = Upload("Points.XLSX", bytes);
  EXPECT_EQ(preview["sheets"], json({"Survey"}));
  EXPECT_EQ(preview["rows"].size(), rows.size());
  EXPECT_EQ(Post("/points/preview", {{"file", preview["file"]}, {"sheet", "Nope"}}, 400)["error"]
                .get<std::string>()
                .find("sheet"),
            4u);
  const json result = Post("/points/convert", {{"file", preview["file"]},
                                               {"pane", "grid-to-geog"},
                                               {"form", "grid"},
                                               {"columns", kGridColumns}});
  ExpectConverted(result, "grid", expected, {2, 3, 4, 5});

  const std::map<std::string, std::string> query = {{"file", preview["file"]}, {"format", "csv"}};
  const ApiReply csv = Call("GET", "/points/export", nullptr, query);
  ASSERT_EQ(csv.status, 200);
  EXPECT_EQ(csv.content_type, "text/csv; charset=utf-8");
  std::vector<std::vector<std::string>> records;
  for (std::size_t at = 3; at < csv.bytes.size();) {
    const auto end = csv.bytes.find("\r\n", at);
    records.push_back(testing::CsvFields(csv.bytes.substr(at, end - at)));
    at = end + 2;
  }
  ASSERT_EQ(records.size(), result["rows"].size() + 1);
  EXPECT_EQ(records[0].front(), "Line");
  EXPECT_EQ(records[0].back(), "Method");
  for (std::size_t r = 0; r < result["rows"].size(); ++r) {
    const json& row = result["rows"][r];
    EXPECT_EQ(records[r + 1][0], std::to_string(row["line"].get<int>()));
    EXPECT_EQ(records[r + 1][records[r + 1].size() - 2], row["status"]);
    for (std::size_t c = 1; c < row["cells"].size(); ++c) {
      // Signed convergences are guarded like any text that starts with a sign.
      const std::string shown = row["cells"][c];
      double value = 0;
      int decimals = 0;
      const bool guarded = shown.starts_with('+') || shown.starts_with('-');
      EXPECT_EQ(records[r + 1][c + 1],
                guarded && !ReadListNumber(shown, value, decimals) ? "'" + shown : shown);
    }
  }
  EXPECT_EQ(records[1][1], "'" + formula) << "a formula in a name never runs";

  const ApiReply xlsx =
      Call("GET", "/points/export", nullptr, {{"file", preview["file"]}, {"format", "xlsx"}});
  ASSERT_EQ(xlsx.status, 200);
  EXPECT_EQ(xlsx.content_type, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
  const std::string back = Root() + "/back.xlsx";
  std::ofstream(back, std::ios::binary) << xlsx.bytes;
  std::vector<std::vector<std::string>> sheet;
  ASSERT_TRUE(ReadXlsxSheet(back, "", [&](std::size_t, std::span<const std::string> cells) {
                sheet.emplace_back(cells.begin(), cells.end());
                return true;
              }).ok);
  ASSERT_EQ(sheet.size(), records.size());
  const auto cell = [](const std::vector<std::string>& row, std::size_t c) {
    return c < row.size() ? row[c] : std::string();
  };
  EXPECT_EQ(cell(sheet[1], 1), formula) << "a workbook holds it as text";
  for (std::size_t r = 1; r < sheet.size(); ++r)
    for (const std::size_t c : {4u, 5u})
      EXPECT_EQ(cell(sheet[r], c), cell(records[r], c)) << "DMS stays text";
  EXPECT_EQ(Call("GET", "/points/export", nullptr, {{"file", "999"}, {"format", "csv"}}).status,
            404);
}

TEST_F(PointsApi, ADatumShiftFlagsAPointOutsideItsGridAndKeepsEveryRow) {
  testing::NTv2SubGridLayout grid;  // 45N to 46N, 75W to 76W: +4.5" north, 9" east
  grid.name = "TESTGRID";
  grid.south = 45 * 3600.0;
  grid.north = 46 * 3600.0;
  grid.east = 75 * 3600.0;
  grid.west = 76 * 3600.0;
  grid.lat_increment = grid.lon_increment = 300.0;
  testing::FillNodes(grid, [](int, int) { return std::pair(4.5, -9.0); });
  std::filesystem::create_directories(HostPath("C:\\MyData\\Global\\"));
  WriteBytes(InGlobal("ntv2_0.gsb"), testing::NTv2FileBytes({grid}));
  ASSERT_TRUE(datum_.SetFromCatalogue(kCanadaNtv2, 0, 1));

  const std::string csv = "In,45.5,-75.5\r\nOut,46.5,-75.5\r\nWrong,45.5,W\r\nEdge,45.0,-75.0\r\n";
  const json preview = Upload("shift.csv", csv);
  // Going back applies the grid: the pane's own direction from its target side.
  const json result = Post("/points/convert", {{"file", preview["file"]},
                                               {"pane", "datum-shift"},
                                               {"form", "geog"},
                                               {"columns", kGeogColumns},
                                               {"direction", -1}});
  ASSERT_EQ(result["rows"].size(), 4u);
  const json& rows = result["rows"];
  for (std::size_t r = 0; r < 4; ++r)
    EXPECT_EQ(rows[r]["line"], r + 1);
  for (const std::size_t r : {0u, 3u}) {
    EXPECT_EQ(rows[r]["status"], "ok");
    const double lat = r == 0 ? 45.5 : 45.0, lon = r == 0 ? -75.5 : -75.0;
    EXPECT_NEAR(Degrees(rows[r]["cells"][3], ANGLE_LATITUDE), lat + 4.5 / 3600, 1e-9);
    EXPECT_NEAR(Degrees(rows[r]["cells"][4], ANGLE_LONGITUDE), lon + 9.0 / 3600, 1e-9);
    EXPECT_FALSE(rows[r]["method"].get<std::string>().empty());
  }
  EXPECT_EQ(rows[1]["status"], "outside the shift grid: not shifted");
  for (std::size_t c = 3; c < rows[1]["cells"].size(); ++c)
    EXPECT_EQ(rows[1]["cells"][c], "") << "a point outside the grid has no numbers";
  EXPECT_NE(rows[2]["status"].get<std::string>().find("longitude"), std::string::npos);

  Post("/points/convert",
       {{"file", preview["file"]},
        {"pane", "datum-shift"},
        {"form", "geog"},
        {"columns", kGridColumns}},
       400);
  Post("/points/convert",
       {{"file", preview["file"]},
        {"pane", "traverse"},
        {"form", "geog"},
        {"columns", kGeogColumns}},
       400);
  Post("/points/convert",
       {{"file", preview["file"]},
        {"pane", "datum-shift"},
        {"form", "geog"},
        {"columns", kGeogColumns},
        {"direction", 2}},
       400);
}

TEST_F(PointsApi, RefusedUploadsStoreNothing) {
  const json error = Upload("bad.xlsx", "PK\x03\x04 this is no workbook", 400);
  EXPECT_NE(error["error"].get<std::string>().find("workbook cannot be read: "), std::string::npos);
  EXPECT_EQ(StoredFiles(), 0u);
  // The cap is on the decoded bytes.
  Upload("big.csv", std::string(kCap + 1, '1'), 413);
  Upload("pts.txt", "1,2,3", 400);
  Post("/points/preview", {{"name", "pts.csv"}, {"content", "not*base64"}}, 400);
  Post("/points/preview", {{"name", "pts.csv"}}, 400);
  Post("/points/preview", {{"file", "12"}}, 404);
  Post("/points/convert", {{"file", "12"}}, 404);
  EXPECT_EQ(StoredFiles(), 0u);
  // At the cap it is taken; the oldest uploads go when more arrive.
  const json first = Upload("ok.csv", std::string(kCap, '1'));
  for (int i = 0; i < 8; ++i)
    Upload("more.csv", "A,1,2\r\n");
  EXPECT_EQ(StoredFiles(), 8u);
  Post("/points/preview", {{"file", first["file"]}}, 404);
}

TEST_F(PointsApi, WithoutAScratchFolderTheRoutesUseTheirOwnAndRemoveItAtTheEnd) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("orvale-studio-" + std::to_string(::getpid()));
  {
    ApiRouter router;
    AddRecordRoutes(router, {&target_projection_, &datum_, {}, ""});
    ApiRequest request;
    request.body = {{"name", "a.csv"}, {"content", Base64("A,1,2\r\n")}};
    const auto reply = router.Dispatch("POST", "/points/preview", request);
    ASSERT_TRUE(reply && reply->status == 200);
    EXPECT_TRUE(std::filesystem::exists(folder / "points" / "upload-1.csv"));
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(PointsApi, AFileOfMoreRowsThanOneConversionAnswersIsRefusedWhole) {
  ApiRouter router;
  AddRecordRoutes(router, {&target_projection_, &datum_, {}, scratch_});
  std::string csv;
  for (int i = 0; i <= 100000; ++i)
    csv += "P,500000,5000000\r\n";
  ApiRequest request;
  request.body = {{"name", "many.csv"}, {"content", Base64(csv)}};
  const auto preview = router.Dispatch("POST", "/points/preview", request);
  ASSERT_TRUE(preview && preview->status == 200);
  request.body = {{"file", preview->json["file"]},
                  {"pane", "grid-to-geog"},
                  {"form", "grid"},
                  {"columns", kGridColumns}};
  const auto converted = router.Dispatch("POST", "/points/convert", request);
  ASSERT_TRUE(converted.has_value());
  EXPECT_EQ(converted->status, 413) << converted->json.dump();
}

TEST_F(PointsApi, SelectorsRememberTheirColumnsAndSheet) {
  json selector = Call("GET", "/selectors/geog-csv").json;
  EXPECT_EQ(selector["caption"], "Csv");
  EXPECT_EQ(selector["columns"], json({1, 2, 3, -1, 4, 5, 6, -1, 7})) << "first use";
  EXPECT_EQ(selector["entries"][0], "Skip");
  EXPECT_EQ(selector["entries"][1], "1");
  selector = Call("GET", "/selectors/grid-excel").json;
  EXPECT_EQ(selector["names"], json({"Name", "Easting", "Northing"}));
  EXPECT_EQ(selector["entries"][26], "Z");
  EXPECT_EQ(selector["sheet"], "Sheet1");
  Post("/selectors/grid-excel", {{"columns", {-1, 0, 4}}, {"sheet", "Survey"}});
  selector = Call("GET", "/selectors/grid-excel").json;
  EXPECT_EQ(selector["columns"], json({-1, 0, 4}));
  EXPECT_EQ(selector["sheet"], "Survey");
  Post("/selectors/grid-excel", {{"columns", {0, 1}}}, 400);
  Post("/selectors/grid-excel", {{"columns", {0, 1, 26}}}, 400);
  EXPECT_EQ(Call("GET", "/selectors/nothing").status, 404);
}

}  // namespace
}  // namespace orvale::studio
