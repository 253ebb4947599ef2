// The grid-to-geographicals pane as a user drives it: the Ordnance Survey's worked
// example through the pane, each form of the position recomputing the others, the
// height editing only the cartesian form, and picks that keep what the host gave.

#include "orvale/panes/grid_to_geog_pane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/grid_snapshot.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr int kWgs84 = 26;
// The Caister water tower of the Ordnance Survey's guide (OSGB 36).
constexpr double kCaisterLatitude = (52 + 39 / 60.0 + 27.2531 / 3600) / kDegreesPerRadian;
constexpr double kCaisterLongitude = (1 + 43 / 60.0 + 4.5177 / 3600) / kDegreesPerRadian;

class GridToGeogPaneTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    host_.AttachHost(&queue_, &profile_);
    projection_.m_Spheroid = &spheroid_;
    ASSERT_TRUE(projection_.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
    ASSERT_TRUE(pane_.Create(&host_, 200, &projection_, true));
  }

  std::string Text(int row) {
    return pane_.Grid().GetProperty(2)->GetSubItem(row)->FormatProperty();
  }
  EditOutcome Edit(int row, const std::string& text) {
    return ApplyEdit(pane_.Grid(), "2/" + std::to_string(row), text).outcome;
  }

  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd host_;
  CSpheroid spheroid_;
  CProjection projection_;
  CGridToGeogPane pane_;
};

TEST_F(GridToGeogPaneTest, ReproducesTheOrdnanceSurveyWorkedExampleBothWays) {
  EXPECT_EQ(pane_.GetCaption(), "Grid To Geographicals");
  EXPECT_EQ(pane_.Grid().GetProperty(2)->GetName(), "Computation");
  pane_.SetGeog(kCaisterLatitude, kCaisterLongitude);
  EXPECT_EQ(pane_.GetInputMode(), kInputGeographical);
  EXPECT_NEAR(pane_.Position().easting, 651409.903, 0.0006);
  EXPECT_NEAR(pane_.Position().northing, 313177.270, 0.0006);
  EXPECT_EQ(Text(2), "651409.903 m");
  EXPECT_EQ(Text(3), "313177.270 m");

  pane_.SetGrid(651409.903, 313177.270);
  EXPECT_EQ(pane_.GetInputMode(), kInputGrid);
  EXPECT_NEAR(pane_.Position().latitude, kCaisterLatitude, 1e-10);
  EXPECT_NEAR(pane_.Position().longitude, kCaisterLongitude, 1e-10);
  EXPECT_GT(pane_.Position().convergence, 0.0) << "east of the central meridian";
}

TEST_F(GridToGeogPaneTest, EachFormRecomputesTheOthersAndHeightOnlyTheCartesian) {
  pane_.SetGeog(kCaisterLatitude, kCaisterLongitude);
  const tagCOORD geog = pane_.Position();
  const double rho = pane_.Rho();
  EXPECT_EQ(Edit(4, "100"), EditOutcome::kTaken);
  const tagCOORD raised = pane_.Position();
  EXPECT_EQ(raised.easting, geog.easting);
  EXPECT_EQ(raised.northing, geog.northing);
  EXPECT_EQ(pane_.Rho(), rho);
  EXPECT_NEAR(std::hypot(raised.x - geog.x, raised.y - geog.y, raised.z - geog.z), 100.0, 1e-6)
      << "a hundred metres up the normal";

  // X edited: latitude, longitude and height from the cartesian form, then the grid.
  EXPECT_EQ(Edit(5, std::to_string(raised.x + 10.0)), EditOutcome::kTaken);
  const tagCOORD moved = pane_.Position();
  EXPECT_NE(moved.latitude, raised.latitude);
  EXPECT_NE(moved.easting, raised.easting);
  double easting = 0.0, northing = 0.0;
  ASSERT_EQ(projection_.GeogToGrid(moved.latitude, moved.longitude, &easting, &northing),
            ProjectionStatus::kOk);
  EXPECT_EQ(moved.easting, easting);
  EXPECT_EQ(moved.northing, northing);
  EXPECT_EQ(pane_.GetInputMode(), kInputGeographical) << "edits never change the input mode";
  EXPECT_EQ(queue_.Count(), 0u) << "position edits post nothing";
}

TEST_F(GridToGeogPaneTest, OnTheEquatorOfWgs84TheRadiiAreTheSpheroidsOwn) {
  ASSERT_TRUE(spheroid_.SetBuiltIn(kWgs84));
  projection_.MatchSpheroid();
  pane_.RefreshProjection();
  pane_.SetGeog(0.0, 0.01);
  EXPECT_DOUBLE_EQ(pane_.Nu(), 6378137.0);
  EXPECT_DOUBLE_EQ(pane_.Rho(), 6378137.0 * spheroid_.m_OneMinusE2);
  EXPECT_NEAR(pane_.SecondOfLongitude(), 30.92, 0.005);
  EXPECT_EQ(Text(14), "30.9221 m");

  // With no spheroid set the cartesian form is 0, 0, 0 whatever the position.
  spheroid_.m_E2 = 0.0;
  EXPECT_EQ(Edit(0, "51 30 0N"), EditOutcome::kTaken);
  EXPECT_EQ(pane_.Position().x, 0.0);
  EXPECT_EQ(pane_.Position().y, 0.0);
  EXPECT_EQ(pane_.Position().z, 0.0);
}

TEST_F(GridToGeogPaneTest, APickKeepsWhatTheHostLastGave) {
  pane_.SetGeog(kCaisterLatitude, kCaisterLongitude);
  const tagCOORD before = pane_.Position();
  // Another projection of the same type: the Irish grid, picked by name.
  ASSERT_EQ(ApplyEdit(pane_.Grid(), "1/1", "Irish National Grid").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane_.Position().latitude, before.latitude);
  EXPECT_NE(pane_.Position().easting, before.easting) << "grid recomputed on the new projection";

  pane_.SetGrid(651409.903, 313177.270);
  const tagCOORD grid = pane_.Position();
  ASSERT_EQ(ApplyEdit(pane_.Grid(), "1/1", "Ordnance Survey National Grid").outcome,
            EditOutcome::kTaken);
  EXPECT_EQ(pane_.Position().easting, grid.easting);
  EXPECT_NE(pane_.Position().latitude, grid.latitude) << "geographicals recomputed instead";
}

}  // namespace
}  // namespace orvale
