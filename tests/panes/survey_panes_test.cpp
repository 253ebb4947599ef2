// The range-and-bearing and traverse panes as a user drives them: results that follow
// the points, the t - T group that comes and goes with the projection's type, a
// spheroidal method without a result shown as such, and observations laid off on the
// grid and on the spheroid.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/range_bearing.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/panes/range_bearing_pane.h"
#include "orvale/panes/traverse_pane.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr int kWgs84 = 26;

class SurveyPanesTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    host_.AttachHost(&queue_, &profile_);
    projection_.m_Spheroid = &spheroid_;
    ASSERT_TRUE(spheroid_.SetBuiltIn(kWgs84));
    ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
  }

  static std::string Text(const CMyDockablePane& pane, int group, int row) {
    return pane.Grid().GetProperty(group)->GetSubItem(row)->FormatProperty();
  }

  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd host_;
  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(SurveyPanesTest, RangesAlongTheEquatorAndAMethodWithoutAResult) {
  spheroid_.m_RangeBearingMethod = kRangeBearingGeodesic;
  CRangeAndBearingPane pane;
  ASSERT_TRUE(pane.Create(&host_, 300, &projection_, true));
  EXPECT_EQ(pane.GetCaption(), "Range and Bearing");
  pane.SetGeogA(0.0, 2.5 / kDegreesPerRadian);
  pane.SetGeogB(0.0, 3.5 / kDegreesPerRadian);
  // Along the equator the geodesic is the equator: a times the longitude difference.
  EXPECT_EQ(Text(pane, 4, 0), "111319.4908 m");
  EXPECT_EQ(Text(pane, 4, 2), "090\xB0 00'.0000000");
  EXPECT_EQ(Text(pane, 4, 3), "270\xB0 00'.0000000");
  const tagCOORD a = pane.PointA(), b = pane.PointB();
  EXPECT_NEAR(pane.Result().grid.m_Range,
              std::hypot(b.easting - a.easting, b.northing - a.northing), 1e-9);

  // The series method gives nothing along the equator: its rows say so.
  spheroid_.m_RangeBearingMethod = kRangeBearingSeries;
  pane.ComputeRangeAndBearing();
  EXPECT_FALSE(pane.Result().spheroidal_ok);
  EXPECT_EQ(Text(pane, 4, 0), "no result");
  EXPECT_EQ(Text(pane, 4, 2), "no result");
  EXPECT_EQ(Text(pane, 6, 0), "no result") << "the line scale factor needs the range";
  EXPECT_NE(Text(pane, 5, 0), "no result") << "the grid record stands";
}

TEST_F(SurveyPanesTest, TheTMinusTGroupFollowsTheProjectionType) {
  CRangeAndBearingPane pane;
  ASSERT_TRUE(pane.Create(&host_, 300, &projection_, true));
  pane.SetGridA(500000.0, 5700000.0);
  pane.SetGridB(510000.0, 5710000.0);
  ASSERT_EQ(pane.Grid().GetPropertyCount(), 9);
  EXPECT_EQ(pane.Grid().GetProperty(8)->GetName(), "t - T Correction");
  EXPECT_EQ(pane.Grid().GetProperty(8)->GetSubItem(0)->GetName(), "A to B");

  const tagCOORD a = pane.PointA();
  ASSERT_EQ(ApplyEdit(pane.Grid(), "1/0", "Lambert Conical").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane.Grid().GetPropertyCount(), 8);
  EXPECT_EQ(pane.PointA().easting, a.easting) << "a pick keeps both forms of the points";
  EXPECT_EQ(pane.PointA().latitude, a.latitude);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "1/0", "U.T.M").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane.Grid().GetPropertyCount(), 9);

  // The host's refresh recomputes the points from the form it last gave: the grid.
  pane.RefreshProjection();
  EXPECT_EQ(pane.PointA().easting, 500000.0);
  EXPECT_NE(pane.PointA().latitude, a.latitude) << "geographicals from the new projection";
}

TEST_F(SurveyPanesTest, TraverseLaysOffTheObservationOnTheGridOrTheSpheroid) {
  spheroid_.m_RangeBearingMethod = kRangeBearingGeodesic;
  CTraversePane pane;
  ASSERT_TRUE(pane.Create(&host_, 301, &projection_, true));
  EXPECT_EQ(pane.Grid().GetProperty(3)->GetName(), "Observations From Point A to Point B");
  pane.SetGrid(500000.0, 5000000.0);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/1", "1000").outcome, EditOutcome::kTaken);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/2", "30").outcome, EditOutcome::kTaken);
  EXPECT_NEAR(pane.PointB().easting, 500500.0, 1e-6);
  EXPECT_NEAR(pane.PointB().northing, 5000000.0 + 1000.0 * std::sqrt(3.0) / 2.0, 1e-6);
  EXPECT_EQ(TakeSnapshot(pane.Grid()).properties[4].items[2].editable, false)
      << "point B only shows";

  // Geographicals at once: the same range is now the geodesic's.
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/0", "Geographicals").outcome, EditOutcome::kTaken);
  const tagCOORD a = pane.PointA(), b = pane.PointB();
  double range = 0.0, azimuth = 0.0, back = 0.0;
  ASSERT_TRUE(spheroid_.InverseRangeAndBearing(&range, &azimuth, &back, a.latitude, a.longitude,
                                               b.latitude, b.longitude));
  EXPECT_NEAR(range, 1000.0, 1e-6);
  EXPECT_NEAR(azimuth * kDegreesPerRadian, 30.0, 1e-8);

  // A zenith angle of 90 is level: B stays at A's height.
  ASSERT_EQ(ApplyEdit(pane.Grid(), "2/4", "25").outcome, EditOutcome::kTaken);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/3", "Vertical").outcome, EditOutcome::kTaken);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/4", "90").outcome, EditOutcome::kTaken);
  EXPECT_NEAR(pane.PointB().height, 25.0, 1e-9);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/4", "60").outcome, EditOutcome::kTaken);
  EXPECT_NEAR(pane.PointB().height, 25.0 + 500.0, 1e-6) << "cos 60 of the range upwards";
  EXPECT_EQ(ApplyEdit(pane.Grid(), "3/3", "Sideways").outcome, EditOutcome::kRefused);
}

}  // namespace
}  // namespace orvale
