// The catalogue list editors through the studio's API: headings, rows and which rows
// may change; a record added and edited through its dialog session, removed after the
// two-step question; the exports as real files, read back cell by cell.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apps/studio/record_routes.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/list_export.h"
#include "orvale/platform/xlsx_reader.h"
#include "studio/record_routes_fixture.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

class EditorsApi : public RecordRoutesTest {
 protected:
  static std::string Url(const json& editor, const std::string& action) {
    return "/editors/" + std::to_string(editor["id"].get<int>()) + "/" + action;
  }
  json Get(const json& editor) {
    return Call("GET", "/editors/" + std::to_string(editor["id"].get<int>())).json;
  }
  // The first file row, -1 when there is none.
  static int FileRow(const json& editor) {
    const json& rows = editor["file_rows"];
    for (std::size_t r = 0; r < rows.size(); ++r)
      if (rows[r].get<bool>()) return static_cast<int>(r);
    return -1;
  }
  // Adds a spheroid file through the editor's Add and its dialog's OK.
  json AddSpheroid(const json& editor, const std::string& title, const std::string& name) {
    const json opened = Post(Url(editor, "add"));
    EXPECT_EQ(opened["dialog"]["kind"], "edit-spheroid");
    const std::string dialog = "/dialogs/" + std::to_string(opened["dialog"]["id"].get<int>());
    for (const auto& [path, text] :
         {std::pair{"1/1", name}, std::pair{"1/2", std::string("Here")},
          std::pair{"1/3", std::string("6378000")}, std::pair{"0/0", title}})
      EXPECT_EQ(Post(dialog + "/edit", {{"path", path}, {"text", text}})["outcome"], "taken");
    EXPECT_EQ(Post(dialog + "/button", {{"button", 1}})["saved"], true);
    return Get(editor);
  }
};

TEST_F(EditorsApi, EveryEditorListsItsHeadingsAndOnlyBuiltInsWithoutFiles) {
  const std::map<std::string, std::pair<std::string, std::size_t>> kinds = {
      {"spheroid", {"spheroids", 53}},
      {"datum", {"datums", 63}},
      {"projection", {"projections", 231}},
      {"shift", {"datum-shifts", 0}}};
  for (const testing::TextRow& row : testing::ReadTextTable("dialogs/editor_headings.txt")) {
    SCOPED_TRACE(row.where);
    const auto& [kind, built_ins] = kinds.at(row[0]);
    const json editor = Post("/editors", {{"kind", kind}});
    ASSERT_EQ(editor["columns"].size(), row.fields.size() - 1);
    for (std::size_t c = 1; c < row.fields.size(); ++c)
      EXPECT_EQ(editor["columns"][c - 1]["heading"], row[c] == "(empty)" ? "" : row[c]);
    EXPECT_EQ(editor["rows"].size(), built_ins);
    EXPECT_EQ(FileRow(editor), -1);
    EXPECT_FALSE(editor["edit_visible"].get<bool>());
    EXPECT_FALSE(editor["remove_visible"].get<bool>());
    EXPECT_EQ(editor["selected"], -1);
    EXPECT_EQ(editor["can_add"], kind != "datum-shifts");
    // The datum shift records are made elsewhere: Add opens nothing.
    if (kind == "datum-shifts") {
      EXPECT_TRUE(Post(Url(editor, "add"))["dialog"].is_null());
    }
  }
  EXPECT_EQ(Post("/editors", {{"kind", "spheroids"}})["caption"], "Spheroid Editor");
  Post("/editors", {{"kind", "nothing"}}, 404);
  Post("/editors", json::object(), 400);
}

TEST_F(EditorsApi, AddEditAndRemoveAFileRecordThroughTheDialogAndTheQuestion) {
  json editor = Post("/editors", {{"kind", "spheroids"}});
  editor = AddSpheroid(editor, "Mine", "My Spheroid");
  EXPECT_EQ(changes_, 1);
  ASSERT_EQ(editor["rows"].size(), 54u) << "the list was refilled on the dialog's OK";
  const int file_row = FileRow(editor);
  ASSERT_GE(file_row, 0);
  EXPECT_EQ(editor["rows"][file_row][1], "My Spheroid");
  EXPECT_EQ(editor["rows"][file_row][2], "Here");

  // Edit and Remove show only while a file row is chosen.
  const int built_in = file_row == 0 ? 1 : 0;
  for (const int row : {built_in, file_row, built_in, 9999, file_row}) {
    editor = Post(Url(editor, "select"), {{"row", row}})["editor"];
    const bool file = row == file_row;
    EXPECT_EQ(editor["selected"], row == 9999 ? -1 : row);
    EXPECT_EQ(editor["edit_visible"].get<bool>(), file) << row;
    EXPECT_EQ(editor["remove_visible"].get<bool>(), file) << row;
  }

  // Edit opens the record's dialog; its OK refills the list.
  const json opened = Post(Url(editor, "edit"));
  ASSERT_EQ(opened["dialog"]["kind"], "edit-spheroid");
  const std::string dialog = "/dialogs/" + std::to_string(opened["dialog"]["id"].get<int>());
  EXPECT_EQ(Post(dialog + "/edit", {{"path", "1/2"}, {"text", "There"}})["outcome"], "taken");
  Post(dialog + "/button", {{"button", 1}});
  editor = Get(editor);
  EXPECT_EQ(editor["rows"][FileRow(editor)][2], "There");
  EXPECT_EQ(changes_, 2);

  // A double-click opens a file record's dialog, never a built-in's; Cancel keeps all.
  EXPECT_TRUE(Post(Url(editor, "open"), {{"row", built_in}})["dialog"].is_null());
  const json clicked = Post(Url(editor, "open"), {{"row", FileRow(editor)}});
  ASSERT_EQ(clicked["dialog"]["kind"], "edit-spheroid");
  EXPECT_EQ(clicked["dialog"]["grid"]["properties"][0]["items"][0]["text"], "Mine");
  EXPECT_EQ(Post("/dialogs/" + std::to_string(clicked["dialog"]["id"].get<int>()) + "/button",
                 {{"button", 2}})["saved"],
            false);
  EXPECT_EQ(changes_, 2);

  const std::string file = HostPath("C:\\MyData\\Global\\Mine.SPD");
  ASSERT_TRUE(std::filesystem::exists(file));
  Post(Url(editor, "select"), {{"row", FileRow(editor)}});
  // Without an answer the question comes back and nothing is removed; "no" keeps it.
  EXPECT_EQ(Post(Url(editor, "remove")),
            json({{"question", "Are You sure you want to delete Mine"}}));
  EXPECT_TRUE(std::filesystem::exists(file));
  editor = Post(Url(editor, "remove"), {{"answer", false}})["editor"];
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(editor["rows"].size(), 54u);
  EXPECT_EQ(changes_, 2);
  editor = Post(Url(editor, "remove"), {{"answer", true}})["editor"];
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(editor["rows"].size(), 53u);
  EXPECT_FALSE(editor["edit_visible"].get<bool>());
  EXPECT_EQ(changes_, 3);
  // A built-in row asks nothing and stays.
  Post(Url(editor, "select"), {{"row", 0}});
  EXPECT_EQ(Post(Url(editor, "remove"))["editor"]["rows"].size(), 53u);
  Post(Url(editor, "remove"), {{"answer", "yes"}}, 400);
}

TEST_F(EditorsApi, ExportsAreRealFilesWhoseCellsReadBackAsTheListShowsThem) {
  json editor = Post("/editors", {{"kind", "spheroids"}});
  editor = AddSpheroid(editor, "Formula", "=1+2");
  const std::string url = "/editors/" + std::to_string(editor["id"].get<int>()) + "/export";
  const json& rows = editor["rows"];

  const ApiReply csv = Call("GET", url, nullptr, {{"format", "csv"}});
  ASSERT_EQ(csv.status, 200);
  EXPECT_EQ(csv.content_type, "text/csv; charset=utf-8");
  EXPECT_EQ(csv.filename, "Spheroid.csv");
  EXPECT_TRUE(csv.attachment);
  ASSERT_TRUE(csv.bytes.starts_with("\xEF\xBB\xBF"));
  std::vector<std::vector<std::string>> records;
  for (std::size_t at = 3; at < csv.bytes.size();) {
    const auto end = csv.bytes.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every record ends in CR LF";
    records.push_back(testing::CsvFields(csv.bytes.substr(at, end - at)));
    at = end + 2;
  }
  ASSERT_EQ(records.size(), rows.size() + 1);
  for (std::size_t c = 0; c < editor["columns"].size(); ++c)
    EXPECT_EQ(records[0][c], OneLineHeading(editor["columns"][c]["heading"].get<std::string>()));
  int neutralised = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const std::string cell = rows[r][c];
      double value = 0;
      int decimals = 0;
      const bool guarded = !cell.empty() &&
                           std::string("=+-@").find(cell[0]) != std::string::npos &&
                           !ReadListNumber(cell, value, decimals);
      neutralised += guarded;
      EXPECT_EQ(records[r + 1][c], guarded ? "'" + cell : cell) << r << "," << c;
    }
  }
  EXPECT_EQ(neutralised, 1) << "the name \"=1+2\" cannot run as a formula";

  const ApiReply xlsx = Call("GET", url, nullptr, {{"format", "xlsx"}});
  ASSERT_EQ(xlsx.status, 200);
  EXPECT_EQ(xlsx.content_type, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
  EXPECT_EQ(xlsx.filename, "Spheroid.xlsx");
  const std::string book = Root() + "/read.xlsx";
  std::ofstream(book, std::ios::binary) << xlsx.bytes;
  std::vector<std::vector<std::string>> sheet;
  const XlsxSheetResult read =
      ReadXlsxSheet(book, "", [&](std::size_t, std::span<const std::string> cells) {
        sheet.emplace_back(cells.begin(), cells.end());
        return true;
      });
  ASSERT_TRUE(read.ok) << read.reason;
  ASSERT_EQ(sheet.size(), rows.size() + 1);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const std::string cell = rows[r][c];
      const std::string got = c < sheet[r + 1].size() ? sheet[r + 1][c] : "";
      double value = 0;
      int decimals = 0;
      if (ReadListNumber(cell, value, decimals))
        EXPECT_EQ(std::stod(got), value) << r << "," << c << " keeps full precision";
      else
        EXPECT_EQ(got, cell) << r << "," << c;
    }
  }

  const ApiReply page = Call("GET", url, nullptr, {{"format", "html"}});
  ASSERT_EQ(page.status, 200);
  EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
  EXPECT_FALSE(page.attachment) << "the print page opens in the browser";
  EXPECT_NE(page.bytes.find("<table"), std::string::npos);
  EXPECT_NE(page.bytes.find("=1+2"), std::string::npos);
  EXPECT_EQ(page.bytes.find("<script"), std::string::npos);

  EXPECT_EQ(Call("GET", url, nullptr, {{"format", "pdf"}}).status, 400);
  // Nothing is left behind in the scratch folder.
  const auto scratch = std::filesystem::path(Root()) / "scratch" / "editors";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch))
    EXPECT_TRUE(entry.is_directory()) << entry.path();
}

TEST_F(EditorsApi, OpeningMoreThanTheLimitClosesTheOldestAndCloseEndsOne) {
  std::vector<json> editors;
  for (int i = 0; i < 20; ++i)
    editors.push_back(Post("/editors", {{"kind", "datum-shifts"}}));
  EXPECT_EQ(Call("GET", "/editors/" + std::to_string(editors[3]["id"].get<int>())).status, 404);
  EXPECT_EQ(Call("GET", "/editors/" + std::to_string(editors[4]["id"].get<int>())).status, 200);
  EXPECT_EQ(Post(Url(editors.back(), "close")), json({{"closed", true}}));
  Post(Url(editors.back(), "select"), {{"row", 0}}, 404);
}

}  // namespace
}  // namespace orvale::studio
