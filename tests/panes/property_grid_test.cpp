// The property-grid model: each kind's display text under the user's saved settings
// and what it makes of typed text, the tree's operations, edits by path with the
// owner told exactly when a value changes, snapshots, colour schemes, and the window
// messages panes post to their host.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/platform/window.h"
#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

// Hears the grid's change messages, as a pane does.
class RecordingOwner : public IPropertyGridOwner {
 public:
  LRESULT OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) override {
    changed.push_back(property);
    return 1;
  }
  std::vector<CMFCPropertyGridProperty*> changed;
};

class PropertyGridTest : public testing::TemporaryDrives {
 protected:
  // Writes the settings files a table row names ("units 1 3", "angles 2 4",
  // "geog 0 5 N E"); "-" leaves them missing.
  static void Save(const std::string& settings) {
    std::istringstream in(settings);
    std::string which;
    in >> which;
    std::string a, b, c, d;
    in >> a >> b >> c >> d;
    const auto save = [](std::string_view name, const std::string& bytes) {
      WriteBytes(CConfigFile().GetSettingsPath(name), bytes);
    };
    if (which == "units") save("Units Mode", "Mode = " + a + "\r\nIndex = 0\r\nImperial = " + b);
    if (which == "angles") save("Angle Settings", "Notation = " + a + "\r\nDecimals = " + b);
    if (which == "geog") {
      save("Geographicals Settings", "Notation = " + a + "\r\nDecimals = " + b +
                                         "\r\nLatitude = " + c + "\r\nLongitude = " + d);
    }
  }

  // A property of the kind a table row names, holding `value` (angles in degrees).
  static std::unique_ptr<CMFCPropertyGridProperty> Make(const std::string& kind_text,
                                                        const std::string& value) {
    std::istringstream in(kind_text);
    std::string kind;
    in >> kind;
    const double number = value == "true" || value == "false" ? 0.0 : std::stod(value);
    if (kind == "double") {
      std::string format;
      in >> format;
      return std::make_unique<CMFCPropertyGridDouble>("Value", number, format, "", 10);
    }
    if (kind == "metric") {
      int length_kind = 0, decimals = -1, width = -1;
      in >> length_kind >> decimals >> width;
      if (decimals < 0)
        return std::make_unique<CMFCPropertyGridMetricProperty>("Value", number, length_kind, "",
                                                                10);
      return std::make_unique<CMFCPropertyGridMetricProperty>("Value", number, length_kind,
                                                              decimals, width, "", 10);
    }
    int type = 0;
    in >> type;
    if (kind == "angle") {
      return std::make_unique<CMFCPropertyGridAngleProperty>("Value", number / kDegreesPerRadian,
                                                             type, "", 10);
    }
    if (kind == "angle-degrees")
      return std::make_unique<CMFCPropertyGridAngleDouble>("Value", number, type, "", 10);
    if (kind == "time")
      return std::make_unique<CMFCPropertyGridTimeProperty>("Value", number, "", 10);
    if (kind == "date") {
      std::istringstream date(value);
      int day = 0, year = 0;
      date >> day >> year;
      return std::make_unique<CMFCPropertyGridDateProperty>("Value", day, year, "", 10);
    }
    return std::make_unique<CMFCPropertyGridBool>("Value", value == "true", "", 10);
  }

  // The property's value in the table's terms.
  static std::string ValueText(const CMFCPropertyGridProperty& p, const std::string& kind) {
    if (const auto* date = dynamic_cast<const CMFCPropertyGridDateProperty*>(&p))
      return std::to_string(date->GetDayOfYear()) + " " + std::to_string(date->GetYear());
    if (p.GetValue().IsBool()) return p.GetValue().AsBool() ? "true" : "false";
    double value = p.GetValue().AsDouble();
    if (kind.starts_with("angle ")) value *= kDegreesPerRadian;
    std::ostringstream out;
    out.precision(15);
    out << value;
    return out.str();
  }

  CMyMFCPropertyGridCtrl grid_;
  RecordingOwner owner_;
};

TEST_F(PropertyGridTest, EveryKindShowsItsValueInTheSavedSettingsAndReadsEditsBack) {
  grid_.SetOwner(&owner_);
  for (const testing::TextRow& row : testing::ReadTextTable("panes/property_texts.txt", 6)) {
    SCOPED_TRACE(row.where);
    Save(row[0]);
    grid_.RemoveAll();
    owner_.changed.clear();
    auto group = std::make_unique<CMFCPropertyGridProperty>("Group");
    CMFCPropertyGridProperty* property = group->AddSubItem(Make(row[1], row[2]));
    grid_.AddProperty(std::move(group));
    EXPECT_EQ(property->FormatProperty(), row[3]);

    const std::string before = ValueText(*property, row[1]);
    const EditResult edit = ApplyEdit(grid_, "0/0", row[4]);
    if (row[5] == "refused") {
      EXPECT_EQ(edit.outcome, EditOutcome::kRefused);
      EXPECT_FALSE(edit.reason.empty());
      EXPECT_EQ(ValueText(*property, row[1]), before) << "a refused edit keeps the value";
      EXPECT_TRUE(owner_.changed.empty());
      continue;
    }
    EXPECT_EQ(edit.outcome, EditOutcome::kTaken) << edit.reason;
    const std::string after = ValueText(*property, row[1]);
    if (row[1] == "date" || row[1] == "bool") {
      EXPECT_EQ(after, row[5]);
    } else {
      EXPECT_NEAR(std::stod(after), std::stod(row[5]), 1e-9 * (1 + std::fabs(std::stod(row[5]))));
    }
    EXPECT_EQ(owner_.changed, std::vector<CMFCPropertyGridProperty*>{property});
  }
}

TEST_F(PropertyGridTest, EditsReachOnlyWhatTheUserCouldEditAndTellTheOwnerOfChangesOnly) {
  grid_.SetOwner(&owner_);
  auto group = std::make_unique<CMFCPropertyGridProperty>("Position");
  auto* height =
      group->Add<CMFCPropertyGridMetricProperty>("Height", 10.0, kShortLength, "Enter Height", 14);
  auto* shown = group->Add<CMFCPropertyGridDouble>("Point Scale Factor", 0.9996, "%12.10lf");
  shown->AllowEdit(false);
  auto* method = group->Add<CMFCPropertyGridProperty>("Computation Method", "Grid",
                                                      "Perform either a grid or geographical "
                                                      "computation",
                                                      15);
  method->AddOption("Grid");
  method->AddOption("Geographicals");
  method->AllowEdit(false);
  auto* button = group->Add<CMFCPropertyGridButton>("Compute", "Go", "Press to compute", 16);
  ASSERT_EQ(grid_.AddProperty(std::move(group)), 0);

  EXPECT_EQ(ApplyEdit(grid_, "0/0", "10").outcome, EditOutcome::kTaken);
  EXPECT_TRUE(owner_.changed.empty()) << "the same value is no change";
  EXPECT_FALSE(height->IsModified());
  EXPECT_EQ(ApplyEdit(grid_, "0/0", "12.5").outcome, EditOutcome::kTaken);
  EXPECT_TRUE(height->IsModified());
  EXPECT_EQ(ApplyEdit(grid_, "0/1", "1").outcome, EditOutcome::kReadOnly);
  EXPECT_EQ(ApplyEdit(grid_, "0/2", "Neither").outcome, EditOutcome::kRefused);
  EXPECT_EQ(ApplyEdit(grid_, "0/2", "Geographicals").outcome, EditOutcome::kTaken)
      << "a list without free typing is still chosen from";
  EXPECT_EQ(ApplyEdit(grid_, "0/3", "").outcome, EditOutcome::kTaken);
  EXPECT_EQ(ApplyEdit(grid_, "0/3", "").outcome, EditOutcome::kTaken) << "every press counts";
  height->Show(false);
  EXPECT_EQ(ApplyEdit(grid_, "0/0", "1").outcome, EditOutcome::kReadOnly) << "hidden";
  height->Show(true);
  height->Enable(false);
  EXPECT_EQ(ApplyEdit(grid_, "0/0", "1").outcome, EditOutcome::kReadOnly) << "disabled";
  for (const char* path : {"", "1", "0/4", "0/x", "0/0/0", "-1", "0/"})
    EXPECT_EQ(ApplyEdit(grid_, path, "1").outcome, EditOutcome::kNoSuchProperty) << path;
  EXPECT_EQ(ApplyEdit(grid_, "0", "1").outcome, EditOutcome::kReadOnly) << "a group";

  const std::vector<CMFCPropertyGridProperty*> expected = {height, method, button, button};
  EXPECT_EQ(owner_.changed, expected);
  EXPECT_EQ(method->GetValue().AsText(), "Geographicals");
}

TEST_F(PropertyGridTest, SnapshotsHoldWhatAHostRendersAtEveryLevel) {
  auto group = std::make_unique<CMFCPropertyGridProperty>("Rhumb Line");
  group->Add<CMFCPropertyGridDualDisplay>("Length", 1852.0, "%.1lf", " m", "Nautical Miles", 1.0,
                                          "%.3lf", " NM");
  group->Add<CMFCPropertyGridTitleProperty>("Observations", "From A to B");
  auto* bearing =
      group->Add<CMFCPropertyGridAngleProperty>("Bearing A to B", kHalfPi, ANGLE_BEARING, "", 0);
  bearing->AllowEdit(false);
  group->Add<CMFCPropertyGridButton>("Colour", "Pick", "", 20)->SetColour(0x00FF00);
  auto* inner = group->Add<CMFCPropertyGridProperty>("Inner");
  inner->Add<CMFCPropertyGridBool>("Flag", true, "A flag", 21)->Show(false);
  grid_.AddProperty(std::move(group));
  grid_.SetNightMode(true);
  grid_.SetColourScheme(1);

  const GridSnapshot s = TakeSnapshot(grid_);
  ASSERT_EQ(s.properties.size(), 1u);
  const PropertySnapshot& g = s.properties[0];
  EXPECT_TRUE(g.group);
  EXPECT_EQ(g.kind, "group");
  ASSERT_EQ(g.items.size(), 5u);
  EXPECT_EQ(
      std::tie(g.items[0].kind, g.items[0].text, g.items[0].second_name, g.items[0].second_text),
      std::make_tuple(std::string("dual"), std::string("1852.0 m"), std::string("Nautical Miles"),
                      std::string("1.000 NM")));
  EXPECT_FALSE(g.items[0].editable);
  EXPECT_EQ(std::tie(g.items[1].kind, g.items[1].name, g.items[1].text),
            std::make_tuple(std::string("title"), std::string("Observations"),
                            std::string("From A to B")));
  EXPECT_FALSE(g.items[2].editable);
  EXPECT_EQ(g.items[3].colour, 0x00FF00u);
  EXPECT_TRUE(g.items[3].editable);
  const PropertySnapshot& flag = g.items[4].items.at(0);
  EXPECT_EQ(flag.path, "0/4/0");
  EXPECT_EQ(
      std::tie(flag.kind, flag.text, flag.description, flag.data, flag.visible),
      std::make_tuple(std::string("bool"), std::string("True"), std::string("A flag"), 21, false));
  EXPECT_EQ(flag.options, (std::vector<std::string>{"True", "False"}));
  EXPECT_TRUE(s.night);
  EXPECT_EQ(s.scheme, 1);
  EXPECT_EQ(s.colours[0], 0x000000u);
  EXPECT_EQ(s.colours[1], 0xC0C0C0u) << "night: light grey text on black";

  CMFCPropertyGridProperty* top = grid_.GetProperty(0);
  EXPECT_TRUE(grid_.DeleteProperty(top));
  EXPECT_EQ(top, nullptr);
  EXPECT_EQ(grid_.GetPropertyCount(), 0);
}

TEST(ColourSchemeTest, EightSchemesByDayAndNightAndNothingBeyond) {
  CMyMFCPropertyGridCtrl grid;
  GridColours colours{};
  ASSERT_TRUE(ColourScheme(7, false, colours));
  EXPECT_EQ(colours,
            (GridColours{0xD6D6D6, 0x000000, 0x400000, 0xEBEBEB, 0x555555, 0xEBEBEB, 0x555555}));
  ASSERT_TRUE(ColourScheme(0, true, colours));
  EXPECT_EQ(colours[0], 0xFFFFFFu) << "scheme 0 is the same by night";
  grid.SetColourScheme(2);
  const GridColours green = grid.GetCustomColors();
  grid.SetColourScheme(8);
  grid.SetColourScheme(-1);
  EXPECT_EQ(grid.GetColourScheme(), 2);
  EXPECT_EQ(grid.GetCustomColors(), green);
  EXPECT_FALSE(ColourScheme(8, false, colours));
}

TEST(WindowMessageTest, RegisteredNumbersAreStableAndPostedMessagesWaitForTheHost) {
  const UINT geodetic = GeodeticUpdateMessage(), geographical = GeographicalUpdateMessage();
  EXPECT_EQ(geodetic, 0xC000u) << "registered first, when the library loads";
  EXPECT_EQ(geographical, 0xC001u);
  EXPECT_EQ(RegisterWindowMessageA(kGeodeticUpdateName), geodetic);
  const UINT other = RegisterWindowMessageA("Another message");
  EXPECT_GT(other, geographical);
  EXPECT_EQ(RegisterWindowMessageA("Another message"), other);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);

  CMessageQueue queue;
  CMemoryProfileStore profile;
  CWnd host;
  host.AttachHost(&queue, &profile);
  auto pane = std::make_unique<CDockablePane>();
  ASSERT_TRUE(pane->CreateEx("Grid To Geographicals", &host, 7));
  EXPECT_EQ(pane->GetDlgCtrlID(), 7);
  EXPECT_EQ(pane->Profile(), &profile);
  EXPECT_TRUE(host.PostMessage(geodetic));
  EXPECT_TRUE(pane->PostMessage(geographical, 0, 1234));
  EXPECT_TRUE(pane->PostMessage(geodetic));
  pane.reset();  // a pane that goes takes its messages with it
  ASSERT_EQ(queue.Count(), 1u);
  EXPECT_EQ(queue.Take()->window, &host);
  EXPECT_FALSE(queue.Take().has_value());
  CWnd loose;
  EXPECT_FALSE(loose.PostMessage(geodetic)) << "no host, no queue";
  EXPECT_FALSE(CDockablePane().CreateEx("x", nullptr, 1));

  EXPECT_EQ(profile.GetProfileInt("Workspace\\BasePane-7", "IsVisible", -1), -1);
  profile.WriteProfileInt("Workspace\\BasePane-7", "IsVisible", 0);
  EXPECT_EQ(profile.GetProfileInt("Workspace\\BasePane-7", "IsVisible", -1), 0);
  EXPECT_EQ(profile.GetProfileInt("Workspace\\BasePane-8", "IsVisible", -1), -1);
}

}  // namespace
}  // namespace orvale
