// The catalogue list editors over real catalogues and record files on the test's own
// drives: headings, order, which rows may be changed, the deletion question, and the
// texts of every column (tests/data/dialogs/editor_rows.txt).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "orvale/dialogs/datum_editor.h"
#include "orvale/dialogs/datum_shift_editor.h"
#include "orvale/dialogs/projection_editor.h"
#include "orvale/dialogs/spheroid_editor.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/files.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::ReadTextTable;

class ScriptedPrompt : public IPrompt {
 public:
  bool answer = false;
  std::vector<std::string> questions;
  bool GetYN(std::string_view question) override {
    questions.emplace_back(question);
    return answer;
  }
};

// Stands for the record edit dialogs: records the titles it was run on and, when it
// answers OK, does what the dialog's OK would (writes the record file).
class ScriptedDialogs : public IRecordDialogs {
 public:
  bool ok = false;
  std::vector<std::string> runs;
  std::function<void(std::string_view)> on_ok;
  bool EditSpheroid(std::string_view title) override { return Run("SPD", title); }
  bool EditDatum(std::string_view title) override { return Run("DMF", title); }
  bool EditProjection(std::string_view title) override { return Run("PRJ", title); }

 private:
  bool Run(std::string_view kind, std::string_view title) {
    runs.push_back(std::string(kind) + ":" + std::string(title));
    if (ok && on_ok) on_ok(title);
    return ok;
  }
};

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string bytes;
  for (std::string_view line : lines)
    (bytes += line) += '\n';
  return bytes;
}

class ListEditors : public testing::TemporaryDrives {
 protected:
  EditorHost Host() { return {&prompt_, nullptr, &dialogs_}; }

  std::unique_ptr<CListEditor> Make(const std::string& kind) {
    std::unique_ptr<CListEditor> editor;
    if (kind == "spheroid") editor = std::make_unique<CSpheroidEditor>(nullptr, Host());
    if (kind == "datum") editor = std::make_unique<CDatumEditor>(nullptr, Host());
    if (kind == "projection") editor = std::make_unique<CProjectionEditor>(nullptr, Host());
    if (kind == "shift") editor = std::make_unique<CDatumShiftEditor>(nullptr, Host());
    EXPECT_TRUE(editor->OnInitDialog());
    return editor;
  }

  // The row whose `column` reads `text`; -1 when there is none.
  static int FindRow(const CListEditor& editor, int column, std::string_view text) {
    const CListCtrl& list = editor.GetListCtrl();
    for (int item = 0; item < list.GetItemCount(); ++item)
      if (list.GetItemText(item, column) == text) return item;
    return -1;
  }

  static std::vector<std::string> Row(const CListEditor& editor, int item) {
    std::vector<std::string> cells;
    for (int c = 0; c < editor.GetListCtrl().GetColumnCount(); ++c)
      cells.push_back(editor.GetListCtrl().GetItemText(item, c));
    return cells;
  }

  // One of each kind of record file, with names that sort among the built-ins only
  // when case is ignored.
  static void WriteRecordFiles() {
    CSpheroid sphere;
    sphere.m_Name = "sphere of test";
    sphere.m_Country = "";
    sphere.m_SemiMajorAxis = sphere.m_SemiMinorAxis = 6371000.0;
    sphere.m_InverseFlattening = 1.0;
    sphere.ComputeConstants();
    ASSERT_TRUE(sphere.Save("Test Sphere"));

    CDatum datum;
    datum.m_FromName = "local grid";
    datum.m_ToName = "WGS 84";
    datum.m_ShiftStatus = "site";
    datum.m_Shift.m_DX = 100.5;
    datum.m_Shift.m_DY = -0.25;
    datum.m_Shift.m_DZ = 2.0;
    datum.m_Shift.m_RZ = 0.5;
    datum.m_Shift.m_Scale = 1.25;
    datum.m_Shift.m_RotationMethod = 1;
    ASSERT_TRUE(datum.Save("Site Datum"));

    CSpheroid spheroid;
    CProjection projection;
    projection.m_Spheroid = &spheroid;
    ASSERT_TRUE(projection.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
    projection.m_Name = "mine";
    projection.m_Country = "Site";
    projection.m_FalseEasting = 500000.0;
    projection.m_FalseNorthing = -1234.5;
    projection.m_ScaleFactor = 1.0;
    ASSERT_TRUE(projection.WriteRecordFile("Site Grid"));

    std::string grid = Lines({"Grid A", "Grid B", "affine", "WGS 84", "", "WGS 84", ""});
    for (double value : {250.0, -125.0, 30.0, 2.0, 0.5, 0.0, 0.0, 0.0, 0.0})
      AppendDoubleLe(grid, value);
    WriteBytes(InGlobal("Affine.GRD"), grid + std::string(112, '\0'));
    grid = Lines({"Grid C", "Grid D", "similar", "WGS 84", "", "WGS 84", ""});
    for (double value : {1000.0, 2000.5, 1.5, 1.0001, 1.0001, 0.0, 0.0, 0.0, 0.0})
      AppendDoubleLe(grid, value);
    WriteBytes(InGlobal("Similar.GRD"), grid + std::string(112, '\0'));
    std::string shift =
        Lines({"ED50", "Local", "", "International Spheroid", "(Hayford 1910)", "WGS 84", ""});
    for (double value : {1.25, -2.5, 10.0})
      AppendDoubleLe(shift, value);
    WriteBytes(InGlobal("Site Shift.GSF"), shift);

    // Polar stereographics at origin latitude 0, one by its standard parallel, one by
    // the latitude of its false origin.
    CSpheroid international;
    ASSERT_TRUE(international.SetBuiltIn(20));
    CProjection polar;
    polar.m_Spheroid = &international;
    polar.m_Type = PROJECTION_STEREOGRAPHIC;
    polar.m_Method = 2;
    polar.m_FalseEasting = polar.m_FalseNorthing = 2000000.0;
    polar.m_ScaleFactor = 0.994;
    polar.m_Name = "polar one";
    polar.m_StandardParallel1 = -71.0 * kRadiansPerDegree;
    ASSERT_TRUE(polar.WriteRecordFile("Polar One"));
    polar.m_Name = "polar two";
    polar.m_StandardParallel1 = 0.0;
    polar.m_StandardParallel2 = -80.0 * kRadiansPerDegree;
    ASSERT_TRUE(polar.WriteRecordFile("Polar Two"));
  }

  ScriptedPrompt prompt_;
  ScriptedDialogs dialogs_;
};

constexpr int kBuiltIns[] = {53, 63, 231, 0};
constexpr const char* kKinds[] = {"spheroid", "datum", "projection", "shift"};

std::string Cell(const testing::TextRow& row, std::size_t i) {
  return row[i] == "(empty)" ? "" : row[i];
}

TEST_F(ListEditors, ShowTheirColumnsUnderTheExactHeadings) {
  for (const testing::TextRow& row : ReadTextTable("dialogs/editor_headings.txt")) {
    SCOPED_TRACE(row.where);
    const auto editor = Make(row[0]);
    const CListCtrl& list = editor->GetListCtrl();
    ASSERT_EQ(static_cast<std::size_t>(list.GetColumnCount()), row.fields.size() - 1);
    for (int c = 0; c < list.GetColumnCount(); ++c)
      EXPECT_EQ(list.GetColumn(c)->heading, Cell(row, static_cast<std::size_t>(c) + 1));
    EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  }
  EXPECT_EQ(CSpheroidEditor(nullptr).GetCaption(), "Spheroid Editor");
  EXPECT_EQ(CDatumShiftEditor(nullptr).GetCaption(), "Datum Shift Editor");
}

TEST_F(ListEditors, ListOnlyTheBuiltInsSortedIgnoringCaseWhenThereAreNoFiles) {
  for (std::size_t k = 0; k < std::size(kKinds); ++k) {
    SCOPED_TRACE(kKinds[k]);
    const auto editor = Make(kKinds[k]);
    const CListCtrl& list = editor->GetListCtrl();
    ASSERT_EQ(list.GetItemCount(), kBuiltIns[k]);
    EXPECT_EQ(editor->GetBuiltInCount(), kBuiltIns[k]);
    std::vector<int> numbers;
    for (int item = 0; item < list.GetItemCount(); ++item) {
      EXPECT_EQ(list.GetItemImage(item), 0);
      numbers.push_back(editor->EntryOf(item)->number);
      if (item > 0) {
        EXPECT_FALSE(LessIgnoringCase(editor->EntryOf(item)->display_name,
                                      editor->EntryOf(item - 1)->display_name))
            << editor->EntryOf(item)->display_name;
      }
    }
    std::sort(numbers.begin(), numbers.end());
    for (int n = 0; n < static_cast<int>(numbers.size()); ++n)
      EXPECT_EQ(numbers[n], n);
    EXPECT_FALSE(editor->IsEditVisible());
    editor->OnClickList(0);
    EXPECT_FALSE(editor->IsEditVisible() || editor->IsRemoveVisible());
  }
}

TEST_F(ListEditors, WriteEveryColumnInItsFormat) {
  WriteRecordFiles();
  std::map<std::string, std::unique_ptr<CListEditor>> editors;
  for (const char* kind : kKinds)
    editors[kind] = Make(kind);
  for (const testing::TextRow& row : ReadTextTable("dialogs/editor_rows.txt")) {
    SCOPED_TRACE(row.where);
    const CListEditor& editor = *editors.at(row[0]);
    const int item = FindRow(editor, std::stoi(row[1]), row[2]);
    ASSERT_GE(item, 0);
    std::vector<std::string> expected;
    for (std::size_t c = 3; c < row.fields.size(); ++c)
      expected.push_back(Cell(row, c));
    expected.resize(static_cast<std::size_t>(editor.GetListCtrl().GetColumnCount()));
    EXPECT_EQ(Row(editor, item), expected);
  }
}

TEST_F(ListEditors, SortRecordFilesAmongTheBuiltInsIgnoringCase) {
  WriteRecordFiles();
  const auto editor = Make("spheroid");
  const int item = FindRow(*editor, 1, "sphere of test");
  ASSERT_GT(item, 0);
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item - 1, 1), "SAD 1969");
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item + 1, 1), "Struve 1860");
  EXPECT_EQ(editor->GetListCtrl().GetItemImage(item), 1);
  EXPECT_EQ(editor->EntryOf(item)->number, 53);
  EXPECT_EQ(editor->EntryOf(item)->file_title, "Test Sphere");
}

TEST_F(ListEditors, ShowEditAndRemoveOnlyWhileAFileRowIsChosen) {
  WriteRecordFiles();
  const auto editor = Make("projection");
  const int file = FindRow(*editor, 0, "mine");
  editor->OnClickList(file);
  EXPECT_TRUE(editor->IsEditVisible() && editor->IsRemoveVisible());
  editor->OnClickList(FindRow(*editor, 0, "Irish"));
  EXPECT_FALSE(editor->IsEditVisible() || editor->IsRemoveVisible());
  editor->OnClickList(file);
  editor->OnClickList(-1);
  EXPECT_FALSE(editor->IsEditVisible() || editor->IsRemoveVisible());
}

TEST_F(ListEditors, AskBeforeDeletingAndHonourNo) {
  WriteRecordFiles();
  const auto editor = Make("datum");
  const std::string path = InGlobal("Site Datum.DMF");
  ASSERT_TRUE(FileExists(path));
  editor->OnClickList(FindRow(*editor, 2, "site"));
  prompt_.answer = false;
  editor->OnRemove();
  EXPECT_EQ(prompt_.questions,
            std::vector<std::string>{"Are You sure you want to delete Site Datum"});
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(editor->GetListCtrl().GetItemCount(), 64);
  EXPECT_TRUE(editor->IsRemoveVisible());

  prompt_.answer = true;
  editor->OnRemove();
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(editor->GetListCtrl().GetItemCount(), 63);
  EXPECT_FALSE(editor->IsEditVisible() || editor->IsRemoveVisible());
  EXPECT_EQ(FindRow(*editor, 2, "site"), -1);

  // A built-in row is never removed, nor asked about.
  editor->OnClickList(0);
  editor->OnRemove();
  EXPECT_EQ(prompt_.questions.size(), 2u);
  EXPECT_EQ(editor->GetListCtrl().GetItemCount(), 63);
}

TEST_F(ListEditors, RemoveAShiftRecordByItsOwnExtension) {
  WriteRecordFiles();
  const auto editor = Make("shift");
  ASSERT_EQ(editor->GetListCtrl().GetItemCount(), 3);
  prompt_.answer = true;
  editor->OnClickList(FindRow(*editor, 2, "Site Shift"));
  editor->OnRemove();
  EXPECT_FALSE(FileExists(InGlobal("Site Shift.GSF")));
  EXPECT_TRUE(FileExists(InGlobal("Similar.GRD")));
  editor->OnClickList(FindRow(*editor, 2, "similar"));
  editor->OnRemove();
  EXPECT_FALSE(FileExists(InGlobal("Similar.GRD")));
  EXPECT_EQ(editor->GetListCtrl().GetItemCount(), 1);
  // No add or edit: nothing is run.
  static_cast<CDatumShiftEditor&>(*editor).OnAddDatum();
  editor->OnDblclkList(0);
  EXPECT_TRUE(dialogs_.runs.empty());
}

TEST_F(ListEditors, RunTheRecordDialogsAndShowWhatTheyWrote) {
  WriteRecordFiles();
  const auto editor = Make("spheroid");
  editor->OnDblclkList(FindRow(*editor, 1, "WGS84"));
  EXPECT_TRUE(dialogs_.runs.empty()) << "a built-in row opens no dialog";

  dialogs_.on_ok = [](std::string_view title) {
    CSpheroid spheroid;
    ASSERT_TRUE(spheroid.SetBuiltIn(26));
    spheroid.m_Name = title.empty() ? "added" : "Zulu renamed";
    ASSERT_TRUE(spheroid.Save(title.empty() ? "Added" : std::string(title)));
  };
  const int item = FindRow(*editor, 1, "sphere of test");
  editor->OnDblclkList(item);  // cancelled: nothing changes
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 1), "sphere of test");
  dialogs_.ok = true;
  editor->OnDblclkList(item);
  // That row alone is read again, where it stands.
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 1), "Zulu renamed");
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 5), "298.2572235630");

  editor->OnClickList(item);
  editor->OnEdit();  // refilled: the record sorts by its new name, still chosen
  const int moved = FindRow(*editor, 1, "Zulu renamed");
  EXPECT_EQ(moved, 53);
  EXPECT_TRUE(editor->GetListCtrl().IsItemSelected(moved));

  static_cast<CSpheroidEditor&>(*editor).OnAddSpheroid();
  EXPECT_GE(FindRow(*editor, 1, "added"), 0);
  EXPECT_EQ(editor->GetListCtrl().GetItemCount(), 55);
  EXPECT_EQ(dialogs_.runs, (std::vector<std::string>{"SPD:Test Sphere", "SPD:Test Sphere",
                                                     "SPD:Test Sphere", "SPD:"}));
}

TEST_F(ListEditors, ListAFileThatCannotBeReadSoItCanBeRemoved) {
  ASSERT_FALSE(RecordFolder().empty());
  WriteBytes(InGlobal("Broken.SPD"), "only a name\n");
  const auto editor = Make("spheroid");
  const int item = FindRow(*editor, 1, "Broken");
  ASSERT_GE(item, 0);
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 0), "");
  EXPECT_FALSE(editor->GetListCtrl().GetItemText(item, 2).empty());
  prompt_.answer = true;
  editor->OnClickList(item);
  editor->OnRemove();
  EXPECT_FALSE(FileExists(InGlobal("Broken.SPD")));
}

TEST_F(ListEditors, ShowLengthsInTheSavedDisplayUnit) {
  WriteBytes(CConfigFile().GetSettingsPath("Units Mode"),
             "Mode = 1\r\nIndex = 0\r\nImperial = 0\r\n");
  const auto editor = Make("spheroid");
  const int item = FindRow(*editor, 1, "WGS84");
  // 6378137 m and 6356752.314245 m in international feet of 0.3048 m.
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 3), "20925646.33");
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 4), "20855486.60");
  EXPECT_EQ(editor->GetListCtrl().GetItemText(item, 5), "298.2572235630");
}

class SavingFileDialogs : public IFileDialogs {
 public:
  std::string path;
  std::optional<std::string> GetSaveFileName(std::string_view name) override {
    return path + "/" + std::string(name);
  }
  std::optional<std::string> GetOpenFileName(std::string_view) override { return {}; }
  void ShowPrintPage(std::string_view) override {}
};

TEST_F(ListEditors, ExportTheirListUnderTheirExportName) {
  SavingFileDialogs files;
  files.path = Root();
  CProjectionEditor editor(nullptr, {&prompt_, &files, &dialogs_});
  ASSERT_TRUE(editor.OnInitDialog());
  ASSERT_TRUE(editor.OnExportCsv());
  const std::string csv = ReadBytes("C:\\Projection.csv");
  EXPECT_EQ(csv, ListToCsv(editor.GetListCtrl()));
  EXPECT_EQ(csv.find("\xEF\xBB\xBFName,Comment,Spheroid Name,Type,Method,"), 0u);
  ASSERT_TRUE(editor.OnExportExcel());
  EXPECT_EQ(ReadBytes("C:\\Projection.xlsx").substr(0, 2), "PK");
}

}  // namespace
}  // namespace orvale
