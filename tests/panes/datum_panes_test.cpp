// The datum panes as a user drives them: Point A and Point B kept consistent through
// the datum's shift, a datum change recomputing A from B, the parameter group shown
// for the types that have parameters, a point outside a grid shown as no result, and
// the WGS84 pane's groups following the datum's type.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/panes/datum_shift_pane.h"
#include "orvale/panes/grid_snapshot.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr int kWgs84Shifts = 1, kOrdnanceSurvey = 2, kCanadaNTv2 = 5;

class DatumPanesTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    host_.AttachHost(&queue_, &profile_);
    ASSERT_TRUE(target_spheroid_.SetBuiltIn(26));
    target_projection_.m_Spheroid = &target_spheroid_;
    ASSERT_TRUE(target_projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
    datum_.m_TargetSpheroid = &target_spheroid_;
    datum_.m_TargetProjection = &target_projection_;
    ASSERT_TRUE(datum_.SetFromCatalogue(kWgs84Shifts, 1, 1));
  }

  EditOutcome Edit(CMyDockablePane& pane, const std::string& path, const std::string& text) {
    return ApplyEdit(pane.Grid(), path, text).outcome;
  }
  static std::string Text(const CMyDockablePane& pane, int group, int row) {
    return pane.Grid().GetProperty(group)->GetSubItem(row)->FormatProperty();
  }

  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd host_;
  CSpheroid target_spheroid_;
  CProjection target_projection_;
  CDatum datum_;
};

TEST_F(DatumPanesTest, PointBEditedShiftsPointABackByTheDatumsParameters) {
  CDatumShiftPane pane;
  ASSERT_TRUE(pane.Create(&host_, 600, &datum_, false, true));
  EXPECT_EQ(pane.GetCaption(), "Datum Shift");
  ASSERT_EQ(Edit(pane, "7/0", "52 0 0N"), EditOutcome::kTaken);
  ASSERT_EQ(Edit(pane, "7/1", "1 0 0E"), EditOutcome::kTaken);
  EXPECT_EQ(pane.LastStatus(), ShiftStatus::kShifted);
  // The same by the pieces: B on the target spheroid, the reverse Helmert step, A on
  // the datum's own spheroid.
  const tagCOORD b = pane.PointB();
  double x = 0, y = 0, z = 0;
  GeogToCartesian(target_spheroid_, b.latitude, b.longitude, b.height, x, y, z);
  HelmertTransform(datum_, -1, x, y, z, x, y, z);
  double latitude = 0, longitude = 0, height = 0;
  ASSERT_TRUE(CartesianToGeog(datum_.m_Spheroid, x, y, z, latitude, longitude, height));
  EXPECT_NEAR(pane.PointA().latitude, latitude, 1e-12);
  EXPECT_NEAR(pane.PointA().longitude, longitude, 1e-12);
  EXPECT_NEAR(pane.PointA().height, height, 1e-6);
  EXPECT_TRUE(pane.Grid().GetProperty(1)->IsVisible()) << "a Helmert datum shows its parameters";
  EXPECT_EQ(queue_.Count(), 0u) << "point edits post nothing";

  // Another datum: B stays, A follows from it.
  const std::vector<std::string> names = pane.Grid().GetProperty(0)->GetSubItem(1)->GetOptions();
  ASSERT_GE(names.size(), 3u);
  const tagCOORD a = pane.PointA();
  ASSERT_EQ(Edit(pane, "0/1", names[2]), EditOutcome::kTaken);
  EXPECT_EQ(pane.PointB().latitude, b.latitude);
  EXPECT_NE(pane.PointA().latitude, a.latitude);
  EXPECT_EQ(queue_.Count(), 1u) << "a datum pick is posted";
}

TEST_F(DatumPanesTest, WithoutASourceProjectionPointAIsGeographicalOnly) {
  CDatumShiftPane pane;
  ASSERT_TRUE(pane.Create(&host_, 600, &datum_, true, false));
  EXPECT_FALSE(pane.Grid().GetProperty(3)->IsVisible());
  EXPECT_FALSE(pane.Grid().GetProperty(4)->GetSubItem(2)->IsVisible());
  ASSERT_EQ(Edit(pane, "4/0", "10 0 0S"), EditOutcome::kTaken);
  EXPECT_EQ(pane.PointA().easting, 0.0) << "no forward projection of Point A";
  EXPECT_NE(pane.PointB().northing, 0.0) << "B is shifted and projected on the target";
  // The target projection only shows.
  const GridSnapshot s = TakeSnapshot(pane.Grid());
  for (const PropertySnapshot& row : s.properties[6].items)
    EXPECT_EQ(row.data, 0) << row.name;
}

TEST_F(DatumPanesTest, TheParameterGroupShowsOnlyForHelmertTypes) {
  CDatumShiftPane pane;
  ASSERT_TRUE(pane.Create(&host_, 600, &datum_, false, true));
  for (int type = 0; type <= 9; ++type) {
    datum_.m_ShiftType = type;
    pane.UpdateDatumShifts();
    const bool helmert = type == 1 || type == 3 || type == 6 || type == 7;
    EXPECT_EQ(pane.Grid().GetProperty(1)->IsVisible(), helmert) << "type " << type;
  }
}

TEST_F(DatumPanesTest, APointTheShiftCannotGiveShowsNoResult) {
  ASSERT_TRUE(datum_.SetFromCatalogue(kCanadaNTv2, 0, 1));  // no grid file on these drives
  CDatumShiftPane pane;
  ASSERT_TRUE(pane.Create(&host_, 600, &datum_, false, true));
  ASSERT_EQ(Edit(pane, "7/0", "45 0 0N"), EditOutcome::kTaken);
  EXPECT_NE(pane.LastStatus(), ShiftStatus::kShifted);
  EXPECT_EQ(Text(pane, 4, 0), "no result");
  EXPECT_EQ(Text(pane, 4, 2), "no result");
  EXPECT_NE(Text(pane, 7, 0), "no result") << "the point given stands";
}

TEST_F(DatumPanesTest, TheWgs84PaneBuildsItsGroupsByTheDatumsType) {
  CWgs84DatumShiftPane pane;
  ASSERT_TRUE(pane.Create(&host_, 601, &datum_));
  EXPECT_EQ(pane.GetCaption(), "Spheroid / Projection");
  const auto names = [&pane] {
    std::string all;
    for (int g = 0; g < pane.Grid().GetPropertyCount(); ++g)
      all += pane.Grid().GetProperty(g)->GetName() + "|";
    return all;
  };
  EXPECT_EQ(names(), "Type of Datum|From Spheroid|Datum|To Spheroid|Projection|");
  // Zero rotations and scale are left out.
  const CMFCPropertyGridProperty* parameters = pane.Grid().GetProperty(pane.ParameterGroup());
  for (int i = 4; i <= 7; ++i) {
    EXPECT_EQ(parameters->GetSubItem(i)->IsVisible(),
              parameters->GetSubItem(i)->GetValue().AsDouble() != 0.0)
        << parameters->GetSubItem(i)->GetName();
  }
  ASSERT_EQ(Edit(pane, "0/0", "Ordnance Survey"), EditOutcome::kTaken);
  EXPECT_EQ(datum_.m_ShiftType, kOrdnanceSurvey);
  EXPECT_EQ(names(), "Type of Datum|From Spheroid|To Spheroid|Projection|");
  EXPECT_EQ(pane.ParameterGroup(), -1);
  ASSERT_EQ(Edit(pane, "0/0", "No datum Shift"), EditOutcome::kTaken);
  EXPECT_EQ(names(), "Type of Datum|Spheroid|Projection|");
  EXPECT_EQ(queue_.Count(), 2u) << "each change is posted";
}

}  // namespace
}  // namespace orvale
