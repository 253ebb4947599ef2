// The catalogue selectors: what each offers for a bound record, what a choice loads into
// it and when the owner hears of it, and the record files of the Global folder among the
// built-in entries.

#include "orvale/panes/selection_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

class RecordingOwner : public IPropertyGridOwner {
 public:
  LRESULT OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) override {
    changed.push_back(property);
    return 1;
  }
  std::vector<CMFCPropertyGridProperty*> changed;
};

// The type selector with its catalogue search in reach.
class TypeProbe : public CMFCPropertyGridProjectionTypeProperty {
 public:
  using CMFCPropertyGridProjectionTypeProperty::AnyValidProjections;
  using CMFCPropertyGridProjectionTypeProperty::CMFCPropertyGridProjectionTypeProperty;
};

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(testing::TextField(text.substr(start, end - start)));
    if (end == std::string::npos) return parts;
    start = end + separator.size();
  }
}

// Seven record lines and a block of `block_size` zero bytes: a datum record file of any
// kind, going from WGS84 to the named target spheroid.
std::string DatumRecord(const std::string& to, const std::string& target_name,
                        const std::string& target_country, std::size_t block_size) {
  std::string bytes;
  for (const std::string& line : {std::string("WGS 84"), to, std::string(), std::string("WGS84"),
                                  std::string(), target_name, target_country})
    bytes += line + "\n";
  return bytes + std::string(block_size, '\0');
}

class SelectionTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_EQ(RecordFolder(), InGlobal(""));
    grid_.SetOwner(&owner_);
    projection_.m_Spheroid = &spheroid_;
    datum_.m_TargetSpheroid = &target_;
  }

  // Sets the bound records as a table row names them.
  void Prepare(const std::string& record) {
    std::istringstream in(record);
    std::string what;
    in >> what;
    if (what == "spheroid") {
      int row = 0;
      in >> row;
      spheroid_.m_FileTitle.clear();
      ASSERT_TRUE(spheroid_.SetBuiltIn(row));
    } else if (what == "projection") {
      int type = 0, index = 0, method = 0, spheroid = -1;
      in >> type >> index >> method >> spheroid;
      projection_.m_FileTitle.clear();
      ASSERT_TRUE(projection_.SetFromCatalogue(index, type, method));
      if (spheroid >= 0) {
        ASSERT_TRUE(spheroid_.SetBuiltIn(spheroid));
      }
    } else if (what == "polar") {
      // Values as a record file or an edit leaves them, before any set-up.
      double first = 0, second = 0, origin = 0;
      in >> first >> second >> origin;
      ASSERT_TRUE(projection_.SetFromCatalogue(0, PROJECTION_STEREOGRAPHIC, 0));
      projection_.m_Method = 2;
      projection_.m_StandardParallel1 = first * kRadiansPerDegree;
      projection_.m_StandardParallel2 = second * kRadiansPerDegree;
      projection_.m_OriginLatitude = origin * kRadiansPerDegree;
    } else {
      int type = 0, number = 0;
      in >> type >> number;
      ASSERT_TRUE(datum_.m_Spheroid.SetBuiltIn(26));
      ASSERT_TRUE(datum_.SetFromCatalogue(type, number, 1));
    }
  }

  // A selector of the kind a table row names, on the bound records, with its list on.
  std::unique_ptr<CMFCPropertyGridProperty> Make(const std::string& kind) {
    std::istringstream in(kind);
    std::string what, flag;
    in >> what >> flag;
    const bool on = !flag.empty();
    const auto selecting = [](auto property) {
      property->SetSelect(true);
      return std::unique_ptr<CMFCPropertyGridProperty>(std::move(property));
    };
    if (what == "spheroid-name")
      return selecting(
          std::make_unique<CMFCPropertyGridSpheroidNameProperty>("Name", &spheroid_, on, 2));
    if (what == "epsg")
      return selecting(std::make_unique<CMFCPropertyGridSpheroidEPSGNoProperty>(&spheroid_, on, 1));
    if (what == "type") {
      auto type = std::make_unique<TypeProbe>(&projection_, flag == "restrict", 3);
      if (flag == "edit") type->SetEdit();
      return selecting(std::move(type));
    }
    if (what == "name")
      return selecting(
          std::make_unique<CMFCPropertyGridProjectionNameProperty>(&projection_, on, 4));
    if (what == "method")
      return selecting(std::make_unique<CMFCPropertyGridProjectionMethodProperty>(&projection_, 5));
    if (what == "origin")
      return selecting(
          std::make_unique<CMFCPropertyGridStereographicTypeProperty>(&projection_, 6));
    if (what == "datum-type")
      return selecting(std::make_unique<CMFCPropertyGridDatumTypeProperty>(&datum_, on, false, 1));
    return selecting(std::make_unique<CMFCPropertyGridDatumNameProperty>(&datum_, on, false, 2));
  }

  // Puts a property in a fresh grid, as a pane's group builder does.
  template <typename Property>
  Property* Place(std::unique_ptr<Property> property) {
    grid_.RemoveAll();
    owner_.changed.clear();
    auto group = std::make_unique<CMFCPropertyGridProperty>("Selection");
    Property* placed = property.get();
    group->AddSubItem(std::move(property));
    grid_.AddProperty(std::move(group));
    return placed;
  }

  // The bound record of a kind of selector, in the terms of selection_edits.txt.
  std::string Describe(const std::string& kind) const {
    char text[96];
    if (kind.starts_with("spheroid") || kind.starts_with("epsg")) {
      std::snprintf(text, sizeof text, "%d", spheroid_.m_Index);
    } else if (kind.starts_with("datum")) {
      std::snprintf(text, sizeof text, "%d/%d", datum_.m_ShiftType, datum_.m_Number);
    } else if (kind.starts_with("origin")) {
      const auto degrees = [](double radians) {
        return std::round(radians * kDegreesPerRadian * 1e6) / 1e6 + 0.0;
      };
      std::snprintf(text, sizeof text, "%g %g %g", degrees(projection_.m_OriginLatitude),
                    degrees(projection_.m_StandardParallel1),
                    degrees(projection_.m_StandardParallel2));
    } else {
      std::snprintf(text, sizeof text, "%d/%d/%d", projection_.m_Type, projection_.m_Index,
                    projection_.m_Method);
    }
    return text;
  }

  CMyMFCPropertyGridCtrl grid_;
  RecordingOwner owner_;
  CSpheroid spheroid_;
  CProjection projection_;
  CSpheroid target_;
  CDatum datum_;
};

TEST_F(SelectionTest, EachSelectorOffersTheEntriesOfItsBoundRecordInCatalogueOrder) {
  for (const testing::TextRow& row : testing::ReadTextTable("panes/selection_lists.txt", 4)) {
    SCOPED_TRACE(row.where);
    Prepare(row[1]);
    const CMFCPropertyGridProperty* property = Place(Make(row[0]));
    EXPECT_EQ(property->IsVisible(), row[2] == "shown");
    const std::vector<std::string>& options = property->GetOptions();
    const std::string expected = row[3];
    if (expected == "-") {
      EXPECT_TRUE(options.empty()) << options.size() << " options, the first " << options.at(0);
    } else if (expected.starts_with("[")) {
      const std::size_t count = std::stoul(expected.substr(1));
      const std::vector<std::string> ends = Split(expected.substr(expected.find(' ') + 1), "...");
      ASSERT_EQ(options.size(), count);
      EXPECT_EQ(options.front(), ends.at(0));
      EXPECT_EQ(options.back(), ends.at(1));
    } else {
      EXPECT_EQ(options, Split(expected, ";"));
    }
  }
}

TEST_F(SelectionTest, AChoiceLoadsItsEntryAndTheOwnerHearsOnlyOfAChange) {
  for (const testing::TextRow& row : testing::ReadTextTable("panes/selection_edits.txt", 6)) {
    SCOPED_TRACE(row.where + ": " + row[2]);
    Prepare(row[1]);
    CMFCPropertyGridProperty* property = Place(Make(row[0]));
    const std::string before = Describe(row[0]);
    const EditResult edit = ApplyEdit(grid_, "0/0", row[2]);
    const std::string outcome = row[3];
    if (outcome == "read-only") {
      EXPECT_EQ(edit.outcome, EditOutcome::kReadOnly);
      EXPECT_FALSE(property->OnUpdateValue(row[2])) << "nor taken when called directly";
    } else if (outcome == "refused") {
      EXPECT_EQ(edit.outcome, EditOutcome::kRefused);
      EXPECT_FALSE(edit.reason.empty());
    } else {
      EXPECT_EQ(edit.outcome, EditOutcome::kTaken) << edit.reason;
    }
    EXPECT_EQ(property->FormatProperty(), row[4]);
    EXPECT_EQ(Describe(row[0]), row[5]);
    if (outcome == "changed") {
      EXPECT_EQ(owner_.changed, std::vector<CMFCPropertyGridProperty*>{property});
    } else {
      EXPECT_TRUE(owner_.changed.empty());
      EXPECT_EQ(Describe(row[0]), before);
    }
  }
}

TEST_F(SelectionTest, SouthOfTheEquatorReloadsTheSameZoneWithTheSouthernFalseNorthing) {
  Prepare("projection 0 31 0");
  auto* method = Place(std::make_unique<CMFCPropertyGridProjectionMethodProperty>(&projection_, 5));
  method->SetSelect(true);
  ASSERT_TRUE(method->OnUpdateValue("South of Equator"));
  CSpheroid reference_spheroid;
  CProjection reference;
  reference.m_Spheroid = &reference_spheroid;
  ASSERT_TRUE(reference.SetFromCatalogue(31, PROJECTION_UTM, 1));
  EXPECT_EQ(projection_.m_Name, "Grid Zone 31 (3\xB0 E)");
  EXPECT_EQ(projection_.m_FalseNorthing, 10000000.0);
  EXPECT_EQ(projection_.m_CentralMeridian, reference.m_CentralMeridian);
  EXPECT_EQ(projection_.m_ScaleFactor, reference.m_ScaleFactor);
  EXPECT_EQ(owner_.changed.size(), 1u);
  ASSERT_TRUE(method->OnUpdateValue("North of Equator"));
  EXPECT_EQ(projection_.m_FalseNorthing, 0.0);
  EXPECT_EQ(owner_.changed.size(), 2u) << "one message for each effective choice";
}

TEST_F(SelectionTest, ASpheroidRecordFileFollowsTheRowsAndHasNoEpsgNumber) {
  CSpheroid local;
  ASSERT_TRUE(local.SetBuiltIn(0));
  local.m_Name = "Test";
  local.m_Country = "Local";
  ASSERT_TRUE(local.Save());
  WriteBytes(InGlobal("Broken.SPD"), "Broken\n\nshort");
  auto* name =
      Place(std::make_unique<CMFCPropertyGridSpheroidNameProperty>("Name", &spheroid_, false, 2));
  name->SetSelect(true);
  ASSERT_EQ(name->GetOptions().size(), 54u) << "the unreadable file is not offered";
  EXPECT_EQ(name->GetOptions().back(), "Test Local");

  ASSERT_TRUE(name->OnUpdateValue("Tes")) << "typed, the beginning of the file's name";
  EXPECT_EQ(std::tie(spheroid_.m_Name, spheroid_.m_Index, spheroid_.m_EPSGNo),
            std::make_tuple(std::string("Test"), 54, 0u))
      << "the second file in list order stands for index 54";
  EXPECT_EQ(spheroid_.m_DisplayName, "Test Local");
  CMFCPropertyGridSpheroidEPSGNoProperty epsg(&spheroid_, false, 1);
  EXPECT_EQ(epsg.FormatProperty(), "n/a");
  EXPECT_EQ(owner_.changed.size(), 1u);
  EXPECT_FALSE(name->OnUpdateValue("Broken")) << "a file that cannot be read is never loaded";
  EXPECT_EQ(spheroid_.m_Name, "Test");
}

TEST_F(SelectionTest, ProjectionRecordFilesFollowTheRowsOfTheirTypeOnTheirSpheroid) {
  CSpheroid airy;
  ASSERT_TRUE(airy.SetBuiltIn(0));
  CProjection record;
  record.m_Spheroid = &airy;
  ASSERT_TRUE(record.SetFromCatalogue(0, PROJECTION_CASSINI_SOLDNER, 0));
  ASSERT_TRUE(airy.SetBuiltIn(0));
  record.SetNames("Local", "Site 1");
  ASSERT_TRUE(record.WriteRecordFile());

  Prepare("projection 1 0 0");  // on Airy 1830, like the record
  auto* type = Place(std::make_unique<TypeProbe>(&projection_, true, 3));
  type->SetSelect(true);
  EXPECT_EQ(type->GetOptions(),
            (std::vector<std::string>{"U.T.M", "Transverse Mercator", "Cassini-Soldner"}));
  EXPECT_EQ(type->AnyValidProjections(PROJECTION_CASSINI_SOLDNER, projection_), 2)
      << "after the two built-in Cassini rows";
  EXPECT_EQ(type->AnyValidProjections(PROJECTION_UTM, projection_), 31);
  EXPECT_EQ(type->AnyValidProjections(PROJECTION_POLYCONIC, projection_), -1);
  ASSERT_TRUE(type->OnUpdateValue("Cassini-Soldner"));
  EXPECT_EQ(std::tie(projection_.m_FileTitle, projection_.m_Index, projection_.m_Type),
            std::make_tuple(std::string("Local_Site 1"), 2, 7));

  auto* name =
      Place(std::make_unique<CMFCPropertyGridProjectionNameProperty>(&projection_, true, 4));
  name->SetSelect(true);
  EXPECT_EQ(name->GetOptions(), std::vector<std::string>{"Local Site 1"})
      << "the built-in Cassini rows are on other spheroids";
  name->SetSelect(false);
  EXPECT_TRUE(name->GetOptions().empty());
  EXPECT_EQ(name->FormatProperty(), "Local Site 1");

  // Listed, then spoilt before it is chosen: refused, and the projection kept.
  Prepare("projection 7 0 0");
  auto* all =
      Place(std::make_unique<CMFCPropertyGridProjectionNameProperty>(&projection_, false, 4));
  all->SetSelect(true);
  ASSERT_EQ(all->GetOptions().back(), "Local Site 1");
  WriteBytes(InGlobal("Local_Site 1.PRJ"), "Local\nSite 1\n");
  EXPECT_FALSE(all->OnUpdateValue("Local Site 1"));
  EXPECT_EQ(projection_.m_Name, "Modified Grid");
  EXPECT_TRUE(owner_.changed.empty());
}

TEST_F(SelectionTest, WgsOnlyDatumSelectorsOfferRecordFilesThatShiftToWgs84OrGrs80) {
  WriteBytes(InGlobal("A Local.DMF"),
             DatumRecord("Local", "International Spheroid", "(Hayford 1910)", 144));
  WriteBytes(InGlobal("B Site.DMF"), DatumRecord("Site", "WGS84", "", 144));
  WriteBytes(InGlobal("Offset.GSF"), DatumRecord("Offset", "Airy 1830", "OSGB", 24));
  WriteBytes(InGlobal("Plant.GRD"), DatumRecord("Plant", "WGS84", "", 184));
  Prepare("datum 1 2");
  CMFCPropertyGridDatumTypeProperty any(&datum_, false, true, 1);
  EXPECT_EQ(any.GetOptions().size(), 10u);
  EXPECT_EQ(any.GetOptions().back(), "Grid Shifts");

  auto* type = Place(std::make_unique<CMFCPropertyGridDatumTypeProperty>(&datum_, true, true, 1));
  const std::vector<std::string> wgs84_only = {
      "No datum Shift", "WGS84 Shifts", "Ordnance Survey",    "Norwegian Shifts",
      "NADCON Shifts",  "Canada NTv2",  "User Defined Shifts"};
  EXPECT_EQ(type->GetOptions(), wgs84_only)
      << "no lat/lon shift to WGS84 or GRS80, and never grid shifts";
  WriteBytes(InGlobal("Offset.GSF"), DatumRecord("Offset", "GRS80", "", 24));
  type->Update();
  EXPECT_EQ(type->GetOptions().back(), "Lat / Lon Shifts");

  ASSERT_TRUE(type->OnUpdateValue("User Defined Shifts"));
  EXPECT_EQ(std::tie(datum_.m_ShiftType, datum_.m_Number, datum_.m_FileTitle),
            std::make_tuple(kUserDefinedShifts, 1, std::string("B Site")))
      << "the first file that shifts to WGS84";
  CMFCPropertyGridDatumNameProperty name(&datum_, true, true, 2);
  EXPECT_EQ(name.GetOptions(), std::vector<std::string>{"WGS 84 to Site (B Site)"});
  EXPECT_EQ(name.FormatProperty(), "WGS 84 to Site (B Site)");
  CMFCPropertyGridDatumNameProperty later(&datum_, false, false, 2);
  EXPECT_TRUE(later.GetOptions().empty()) << "filled only when asked";
  later.SetSelect(true);
  EXPECT_EQ(later.GetOptions().size(), 2u);
  EXPECT_EQ(owner_.changed, std::vector<CMFCPropertyGridProperty*>{type});
}

}  // namespace
}  // namespace orvale
