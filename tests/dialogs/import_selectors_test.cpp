// The point import selectors: first-use defaults, choices remembered by position in
// each selector's settings file, "Skip" kept as -1, Cancel writing nothing, and the
// chosen file split into folder and title.

#include "orvale/dialogs/import_selectors.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "orvale/platform/files.h"
#include "orvale/platform/host_dialogs.h"
#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

class ChosenFile : public IFileDialogs {
 public:
  explicit ChosenFile(std::optional<std::string> path) : path_(std::move(path)) {}
  std::optional<std::string> GetSaveFileName(std::string_view) override { return {}; }
  std::optional<std::string> GetOpenFileName(std::string_view extensions) override {
    asked = extensions;
    return path_;
  }
  void ShowPrintPage(std::string_view) override {}
  std::string asked;

 private:
  std::optional<std::string> path_;
};

using ImportSelectorsTest = testing::TemporaryDrives;

TEST_F(ImportSelectorsTest, FirstUseShowsTheDefaultColumnsInEachNaming) {
  CGeogCsvSelector csv;
  ASSERT_TRUE(csv.OnInitDialog());
  EXPECT_EQ(csv.Caption(), "Csv");
  EXPECT_EQ(csv.Choosers()[GeogColumns::kName].Text(), "2");
  EXPECT_EQ(csv.Choosers()[GeogColumns::kLatSec].Text(), "Skip");
  EXPECT_EQ(csv.Choosers()[GeogColumns::kLonSec].Text(), "Skip");
  EXPECT_EQ(csv.Choosers()[GeogColumns::kLonQuad].Text(), "8");
  EXPECT_EQ(csv.Choosers()[0].Entries().size(), 27u);
  CGeogExcelSelector excel;
  ASSERT_TRUE(excel.OnInitDialog());
  EXPECT_EQ(excel.Choosers()[GeogColumns::kName].Text(), "B");
  EXPECT_EQ(excel.Choosers()[GeogColumns::kLatQuad].Text(), "E");
  EXPECT_EQ(excel.m_SheetName, "Sheet1");
}

TEST_F(ImportSelectorsTest, ChoicesAreRememberedAndSkipStaysSkip) {
  int name = 0, easting = 0, northing = 0;
  {
    CGridExcelSelector selector;
    ASSERT_TRUE(selector.OnInitDialog());
    selector.SetDestination(GridColumns::kName, &name);
    selector.SetDestination(GridColumns::kEasting, &easting);
    selector.SetDestination(GridColumns::kNorthing, &northing);
    ChosenFile dialogs("/data/survey/points.xlsx");
    selector.OnClickedSelectFile(dialogs);
    EXPECT_EQ(dialogs.asked, "XLS");
    EXPECT_EQ(selector.m_Path, "/data/survey/");
    EXPECT_EQ(selector.m_FileName, "points");
    EXPECT_EQ(selector.Caption(), "/data/survey/");
    selector.m_SheetName = "Control";
    ASSERT_TRUE(selector.Choosers()[GridColumns::kName].Select("Skip"));
    ASSERT_TRUE(selector.Choosers()[GridColumns::kEasting].Select("D"));
    EXPECT_FALSE(selector.Choosers()[GridColumns::kNorthing].Select("AA"));
    selector.OnOK();
  }
  EXPECT_EQ(name, -1);
  EXPECT_EQ(easting, 3);
  EXPECT_EQ(northing, 3) << "the default third column";
  CGridExcelSelector again;
  ASSERT_TRUE(again.OnInitDialog());
  EXPECT_EQ(again.m_Path, "/data/survey/");
  EXPECT_EQ(again.m_FileName, "points");
  EXPECT_EQ(again.m_SheetName, "Control");
  EXPECT_EQ(again.Choosers()[GridColumns::kName].Text(), "Skip");
  EXPECT_EQ(again.Choosers()[GridColumns::kEasting].Text(), "D");
  EXPECT_EQ(again.Caption(), "/data/survey/");
  // The settings are the grid spreadsheet selector's own: the CSV one starts afresh.
  CGridCsvSelector other;
  ASSERT_TRUE(other.OnInitDialog());
  EXPECT_EQ(other.Choosers()[GridColumns::kEasting].Text(), "3");
}

TEST_F(ImportSelectorsTest, CancelWritesNothingAndNoFileKeepsTheCaption) {
  int lat_deg = 42;
  {
    CGeogCsvSelector selector;
    ASSERT_TRUE(selector.OnInitDialog());
    selector.SetDestination(GeogColumns::kLatDeg, &lat_deg);
    ChosenFile cancelled(std::nullopt);
    selector.OnClickedSelectFile(cancelled);
    EXPECT_EQ(selector.Caption(), "Csv");
    selector.Choosers()[GeogColumns::kLatDeg].SetColumn(9);
  }  // closed without OK
  EXPECT_EQ(lat_deg, 42);
  EXPECT_FALSE(FileExists(CConfigFile().GetSettingsPath("Geog CSV Selector")));
  CGeogCsvSelector selector;
  ChosenFile here("points.csv");
  ASSERT_TRUE(selector.OnInitDialog());
  selector.OnClickedSelectFile(here);
  EXPECT_EQ(selector.m_Path, "");
  EXPECT_EQ(selector.Caption(), "CSV Files") << "no folder yet";
}

}  // namespace
}  // namespace orvale
