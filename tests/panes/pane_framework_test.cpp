// The pane framework as a host drives it: creation and the saved visibility, the
// spheroid and projection groups for every catalogue projection, picks that match
// the projection to a new spheroid and post exactly one message, and the refresh
// rules of the projection group.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/panes/property_groups.h"
#include "orvale/panes/spheroid_projection_pane.h"
#include "orvale/platform/window.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

constexpr int kWgs84 = 26;
constexpr int kAiry1830 = 0;
constexpr int kSad1969 = 42;

// A derived pane that recomputes whenever the base reports a pick, and notes what
// the projection looked like then.
class RecomputingPane : public CSpheroidProjectionPane {
 public:
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override {
    const LRESULT picked = CSpheroidProjectionPane::OnPropertyChanged(wParam, property);
    if (picked != 0) {
      const CProjection& p = *GetProjection();
      seen.push_back(p.m_Name + " on " + p.m_Spheroid->m_Name);
    }
    return picked;
  }
  std::vector<std::string> seen;
};

class PaneFrameworkTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    host_.AttachHost(&queue_, &profile_);
    projection_.m_Spheroid = &spheroid_;
    ASSERT_TRUE(spheroid_.SetBuiltIn(kWgs84));
  }

  int MessagesOf(UINT message) {
    int count = 0;
    while (const auto m = queue_.Take())
      count += m->message == message ? 1 : 0;
    return count;
  }

  // The visible rows of a group, by index.
  static std::vector<int> Shown(const CMFCPropertyGridProperty* group) {
    std::vector<int> shown;
    for (int i = 0; i < group->GetSubItemsCount(); ++i)
      if (group->GetSubItem(i)->IsVisible()) shown.push_back(i);
    return shown;
  }

  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd host_;
  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(PaneFrameworkTest, APaneStartsHiddenUnlessTheProfileSavedItsVisibility) {
  ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
  CSpheroidProjectionPane unsaved;
  ASSERT_TRUE(unsaved.Create(&host_, "Spheroid / Projection", 101, &projection_, true));
  EXPECT_FALSE(unsaved.IsPaneVisible());
  profile_.WriteProfileInt("Workspace\\BasePane-102", "IsVisible", 0);
  CSpheroidProjectionPane saved;
  ASSERT_TRUE(saved.Create(&host_, "Spheroid / Projection", 102, &projection_, true));
  EXPECT_TRUE(saved.IsPaneVisible()) << "any saved value leaves the docking state alone";
  CSpheroidProjectionPane orphan;
  EXPECT_FALSE(orphan.Create(nullptr, "x", 103, &projection_, true));
  EXPECT_EQ(orphan.Grid().GetPropertyCount(), 0) << "nothing is built without a window";
}

TEST_F(PaneFrameworkTest, TheCommonStartSetsTheGridUpAndNightModeKeepsTheScheme) {
  ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
  CSpheroidProjectionPane pane;
  ASSERT_TRUE(pane.Create(&host_, "Spheroid / Projection", 101, &projection_, true));
  const GridSnapshot day = TakeSnapshot(pane.Grid());
  EXPECT_FALSE(day.header);
  EXPECT_TRUE(day.description_area && day.mark_modified && day.dot_net_look);
  EXPECT_EQ(day.scheme, 1);
  EXPECT_EQ(day.colours[0], 0xD6D6D6u);
  pane.SetNightMode(true);
  const GridSnapshot night = TakeSnapshot(pane.Grid());
  EXPECT_EQ(night.scheme, 1);
  EXPECT_EQ(night.colours[0], 0x000000u) << "black background";
  EXPECT_EQ(night.colours[1], 0xC0C0C0u) << "light grey text";
  pane.SetDaylightMode();
  EXPECT_EQ(TakeSnapshot(pane.Grid()).colours, day.colours);
}

TEST_F(PaneFrameworkTest, TheSpheroidGroupShowsWhatAHostRenders) {
  ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
  CSpheroidProjectionPane pane;
  ASSERT_TRUE(pane.Create(&host_, "Spheroid / Projection", 101, &projection_, true));
  const GridSnapshot s = TakeSnapshot(pane.Grid());
  ASSERT_EQ(s.properties.size(), 2u);
  EXPECT_EQ(s.properties[0].name, "Spheroid");
  EXPECT_EQ(s.properties[1].name, "Projection");
  const auto rows = testing::ReadTextTable("panes/spheroid_group_wgs84.txt", 7);
  ASSERT_EQ(rows.size(), s.properties[0].items.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].where);
    const PropertySnapshot& p = s.properties[0].items[i];
    EXPECT_EQ(p.path, rows[i][0]);
    EXPECT_EQ(p.kind, rows[i][1]);
    EXPECT_EQ(p.name, rows[i][2]);
    EXPECT_EQ(p.text, rows[i][3]);
    EXPECT_EQ(p.visible, rows[i][4] == "yes");
    EXPECT_EQ(p.editable, rows[i][5] == "yes");
    EXPECT_EQ(p.data, std::stoi(rows[i][6]));
  }
}

TEST_F(PaneFrameworkTest, ForcedWgs84OffersNoSpheroidSelectors) {
  ASSERT_TRUE(spheroid_.SetBuiltIn(kAiry1830));
  ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
  CSpheroidProjectionPane pane;
  ASSERT_TRUE(pane.Create(&host_, "Datum Shift", 104, &projection_, true, true));
  EXPECT_EQ(spheroid_.m_Name, "WGS84");
  const GridSnapshot snapshot = TakeSnapshot(pane.Grid());
  const PropertySnapshot& group = snapshot.properties[0];
  for (int i : {0, 1}) {
    EXPECT_EQ(group.items[static_cast<std::size_t>(i)].data, 0);
    EXPECT_TRUE(group.items[static_cast<std::size_t>(i)].options.empty());
    EXPECT_FALSE(group.items[static_cast<std::size_t>(i)].editable);
  }
  EXPECT_EQ(group.items[1].text, "WGS84");
}

TEST_F(PaneFrameworkTest, ASpheroidPickMatchesTheProjectionFirstAndPostsOneMessage) {
  ASSERT_TRUE(projection_.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
  RecomputingPane pane;
  ASSERT_TRUE(pane.Create(&host_, "Spheroid / Projection", 101, &projection_, true));
  CSpheroid sad;
  ASSERT_TRUE(sad.SetBuiltIn(kSad1969));
  ASSERT_EQ(ApplyEdit(pane.Grid(), "0/1", sad.m_Name).outcome, EditOutcome::kTaken);
  ASSERT_EQ(pane.seen.size(), 1u);
  CProjection matched;
  CSpheroid matched_spheroid = sad;
  matched.m_Spheroid = &matched_spheroid;
  ASSERT_TRUE(matched.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
  matched_spheroid = sad;  // the row brought its own spheroid
  matched.MatchSpheroid();
  EXPECT_EQ(pane.seen[0], matched.m_Name + " on " + sad.m_Name)
      << "the projection was matched to the spheroid before the pane recomputed";
  EXPECT_EQ(MessagesOf(GeodeticUpdateMessage()), 1);

  // Editing a row that selects nothing posts nothing and recomputes nothing.
  CMFCPropertyGridProperty* group = pane.Grid().GetProperty(1);
  group->GetSubItem(12)->AllowEdit(true);
  EXPECT_EQ(ApplyEdit(pane.Grid(), "1/12", "1000").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane.seen.size(), 1u);
  EXPECT_EQ(queue_.Count(), 0u);
}

TEST_F(PaneFrameworkTest, ProjectionGroupRefreshFollowsTypeAndVariant) {
  auto group = std::make_unique<CMFCPropertyGridProperty>("Projection");
  ASSERT_TRUE(projection_.SetFromCatalogue(0, PROJECTION_LAMBERT, 0));
  AddProjectionGroup(group.get(), &projection_, 3, 4, 5, 0, true, false);
  ASSERT_EQ(group->GetSubItemsCount(), 34);

  // State Plane of variant 2 shows only the selectors and T1 to T6.
  projection_.m_Type = PROJECTION_STATE_PLANE;
  projection_.m_Method = 2;
  UpdateProjectionGroup(group.get(), projection_, 0, false);
  std::vector<int> shown;
  for (int i : Shown(group.get()))
    if (i > 4) shown.push_back(i);
  EXPECT_EQ(shown, (std::vector<int>{28, 29, 30, 31, 32, 33}));
  EXPECT_EQ(group->GetSubItem(28)->GetName(), "T1");

  // A Lambert stored with variant 3 is reset to variant 0 and shows its parallel.
  ASSERT_TRUE(projection_.SetFromCatalogue(0, PROJECTION_LAMBERT, 0));
  projection_.m_Method = 3;
  UpdateProjectionGroup(group.get(), projection_, 0, false);
  EXPECT_EQ(projection_.m_Method, 0);
  EXPECT_EQ(group->GetSubItem(5)->GetName(), "Standard Parallel");

  // A polar stereographic without parallels becomes north polar.
  ASSERT_TRUE(projection_.SetFromCatalogue(0, PROJECTION_STEREOGRAPHIC, 2));
  projection_.m_Method = 2;
  projection_.m_OriginLatitude = 0.3;
  projection_.m_StandardParallel1 = projection_.m_StandardParallel2 = 0.0;
  UpdateProjectionGroup(group.get(), projection_, 0, false);
  EXPECT_EQ(projection_.m_OriginLatitude, kHalfPi);
  EXPECT_TRUE(group->GetSubItem(4)->IsVisible());
  EXPECT_EQ(group->GetSubItem(4)->FormatProperty(), "Nautral 90\xB0N");
  EXPECT_FALSE(group->GetSubItem(5)->IsAllowEdit());
  projection_.m_Method = 0;
  UpdateProjectionGroup(group.get(), projection_, 0, false);
  EXPECT_FALSE(group->GetSubItem(4)->IsVisible()) << "only the polar method has a latitude origin";
}

// Every row of every type builds its group and keeps the rules that hold for all.
TEST_F(PaneFrameworkTest, EveryCatalogueProjectionBuildsItsGroup) {
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    int built = 0;
    for (int row = 0; row < 400; ++row) {
      if (!projection_.SetFromCatalogue(row, type, 0)) continue;
      ++built;
      SCOPED_TRACE("type " + std::to_string(type) + " row " + std::to_string(row));
      auto group = std::make_unique<CMFCPropertyGridProperty>("Projection");
      AddProjectionGroup(group.get(), &projection_, 3, 4, 5, 0, true, false);
      UpdateProjectionGroup(group.get(), projection_, 0, true);
      const bool state_plane_table = type == PROJECTION_STATE_PLANE &&
                                     (projection_.m_Method == 1 || projection_.m_Method == 2);
      EXPECT_EQ(group->GetSubItem(11)->IsVisible(), !state_plane_table) << "origin longitude";
      EXPECT_EQ(group->GetSubItem(33)->IsVisible(),
                type == PROJECTION_STATE_PLANE && projection_.m_Method == 2);
      EXPECT_EQ(group->GetSubItem(27)->IsVisible(),
                type == PROJECTION_STATE_PLANE && projection_.m_Method == 1);
      EXPECT_EQ(group->GetSubItem(0)->FormatProperty(), FindProjectionType(type)->text);
      EXPECT_TRUE(group->GetSubItem(1)->FormatProperty().starts_with(projection_.m_Name));
    }
    EXPECT_GT(built, 0) << "type " << type;
  }
}

}  // namespace
}  // namespace orvale
