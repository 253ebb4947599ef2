// The field panes as a user drives them: the sun shot with and without the year's
// almanac and the messages its location posts, the convergence pane following a
// projection change, and the heading pane's bubble level drawn for the tilt.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/sun_almanac.h"
#include "orvale/panes/compute_heading_pane.h"
#include "orvale/panes/convergence_pane.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/panes/sun_shot_pane.h"
#include "orvale/platform/files.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

class FieldPanesTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    host_.AttachHost(&queue_, &profile_);
  }

  // The year's almanac, made by the engine's own generator, where the pane looks.
  static void WriteAlmanac(int year) {
    const std::string path = CSunShot::AlmanacPath(year);
    ASSERT_FALSE(path.empty());
    static_cast<void>(CreateFolder(path.substr(0, path.find_last_of('\\'))));
    WriteBytes(path, SunAlmanacText(FitSunAlmanac(year)));
  }

  static std::string Text(const CMyDockablePane& pane, int group, int row) {
    return pane.Grid().GetProperty(group)->GetSubItem(row)->FormatProperty();
  }

  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd host_;
};

TEST_F(FieldPanesTest, SunShotShowsNoResultWithoutTheYearsAlmanacAndReloadsByYear) {
  FixedClock clock({2026, 3, 20, 12, 0, 0.0, 0, false});
  CSunShotPane pane(clock);
  ASSERT_TRUE(pane.Create(&host_, 400));
  EXPECT_EQ(pane.Year(), 2026);
  EXPECT_EQ(Text(pane, 3, 0), "no result") << "no almanac, no declination";
  EXPECT_EQ(Text(pane, 4, 1), "no result");

  WriteAlmanac(2026);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "1/0", "21 Mar 2026").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane.SunShot().m_AlmanacYear, 2026);
  EXPECT_NE(Text(pane, 3, 0), "no result");
  // Near the equinox the sun is close to the equator.
  EXPECT_LT(std::fabs(pane.SunShot().m_Declination), 1.0 / kDegreesPerRadian);
  // March's polynomials in the coefficient rows: declination a0 beside E a0.
  const SunAlmanacMonth& march = pane.SunShot().m_Months[2];
  const auto* a0 =
      static_cast<const CMFCPropertyGridDualDisplay*>(pane.Grid().GetProperty(2)->GetSubItem(4));
  EXPECT_EQ(a0->GetValue().AsDouble(), march.m_Declination[0]);
  EXPECT_EQ(a0->Second(), march.m_E[0]);

  // Within the same year the file is not read again: it may even be gone.
  static_cast<void>(DeleteFile(CSunShot::AlmanacPath(2026)));
  ASSERT_EQ(ApplyEdit(pane.Grid(), "1/0", "22 Jun 2026").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane.SunShot().m_AlmanacYear, 2026);
  EXPECT_NEAR(pane.SunShot().m_Declination * kDegreesPerRadian, 23.43, 0.05);
  // Another year reloads, and without its file there is no result.
  ASSERT_EQ(ApplyEdit(pane.Grid(), "1/0", "22 Jun 2027").outcome, EditOutcome::kTaken);
  EXPECT_EQ(Text(pane, 3, 0), "no result");
}

TEST_F(FieldPanesTest, SunShotLocationPostsOneMessageAndTheTimeNone) {
  FixedClock clock({2026, 6, 1, 9, 30, 0.0, 0, false});
  CSunShotPane pane(clock);
  ASSERT_TRUE(pane.Create(&host_, 400));
  ASSERT_EQ(ApplyEdit(pane.Grid(), "0/0", "51 30 0N").outcome, EditOutcome::kTaken);
  ASSERT_EQ(queue_.Count(), 1u);
  const MSG m = *queue_.Take();
  EXPECT_EQ(m.message, GeographicalUpdateMessage());
  const auto* position = reinterpret_cast<const tagXY*>(m.lParam);
  EXPECT_NEAR(position->y * kDegreesPerRadian, 51.5, 1e-12);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "1/1", "10:15:00").outcome, EditOutcome::kTaken);
  EXPECT_EQ(pane.SunShot().m_Time, 36900.0);
  EXPECT_EQ(queue_.Count(), 0u);
  pane.SetGeog(0.5, -0.1);
  EXPECT_EQ(queue_.Count(), 0u) << "the host's own position is not posted back";
  EXPECT_EQ(pane.Grid().GetProperty(0)->GetSubItem(0)->GetValue().AsDouble(), 0.5);
}

TEST_F(FieldPanesTest, ConvergenceFollowsTheProjectionAndKeepsATypedGridHeading) {
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  ASSERT_TRUE(projection.SetFromCatalogue(31, PROJECTION_UTM, 0));
  CConvergencePane pane;
  ASSERT_TRUE(pane.Create(&host_, 401, &projection, true));
  pane.SetGeog(52.0 / kDegreesPerRadian, 5.0 / kDegreesPerRadian);
  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/0", "100").outcome, EditOutcome::kTaken);
  const double utm31 = pane.Gyro().m_Position.convergence;
  EXPECT_NEAR(pane.Gyro().m_GridHeading, 100.0 - utm31, 1e-9);

  ASSERT_TRUE(projection.SetFromCatalogue(32, PROJECTION_UTM, 0));
  pane.RefreshProjection();
  EXPECT_NE(pane.Gyro().m_Position.convergence, utm31) << "another zone, another convergence";
  EXPECT_EQ(pane.Gyro().m_Position.latitude, 52.0 / kDegreesPerRadian);

  ASSERT_EQ(ApplyEdit(pane.Grid(), "3/2", "45").outcome, EditOutcome::kTaken);
  EXPECT_NEAR(pane.Gyro().m_GridHeading, 45.0, 1e-9) << "the typed heading stays";
  EXPECT_NEAR(pane.Gyro().m_TrueDirection, 45.0 + pane.Gyro().m_Position.convergence, 1e-9);
}

TEST_F(FieldPanesTest, TheBubbleSitsAtTheTiltModuloFiveDegreesTowardsTheHeading) {
  CComputeHeadingPane pane;
  ASSERT_TRUE(pane.Create(&host_, 402));
  using Shape = DrawCommand::Shape;
  // Level: the bubble at the centre of a 200 x 200 view, five rings from 100 pixels in.
  std::vector<DrawCommand> drawing = pane.Bubble().OnDraw(200, 200);
  ASSERT_EQ(drawing.size(), 9u);
  EXPECT_EQ(drawing[1].shape, Shape::kCircle);
  EXPECT_EQ(drawing[1].x2, 100);
  EXPECT_EQ(drawing[5].x2, 20);
  EXPECT_EQ(drawing[1].fill, 0x0064FFu) << "red 255, green 100";
  EXPECT_EQ(drawing[5].fill, 0x00DCFFu) << "red 255, green 220";
  EXPECT_EQ(std::tie(drawing[8].x1, drawing[8].y1, drawing[8].x2), std::make_tuple(100, 100, 5));

  // Roll 6 degrees to the right: tilt 6, heading 90, drawn 1 degree (20 px) east.
  ASSERT_EQ(ApplyEdit(pane.Grid(), "0/1", "+6").outcome, EditOutcome::kTaken);
  EXPECT_NEAR(pane.Heading().m_Tilt, 6.0, 1e-9);
  EXPECT_EQ(Text(pane, 1, 1), "090\xB0 00'.0000000");
  drawing = pane.Bubble().OnDraw(200, 200);
  EXPECT_EQ(std::tie(drawing[8].x1, drawing[8].y1), std::make_tuple(120, 100));

  pane.SetNightMode(true);
  drawing = pane.Bubble().OnDraw(200, 200);
  EXPECT_EQ(drawing[0].fill, 0x000000u);
  EXPECT_EQ(drawing[1].fill, 0x006480u) << "red level 128 by night";
  EXPECT_EQ(drawing[8].fill, 0x800000u);
  EXPECT_EQ(TakeSnapshot(pane.Grid()).colours[0], 0x000000u);

  pane.Layout(120, 400);
  EXPECT_EQ(pane.BubbleRect().height, 120);
  EXPECT_EQ(std::tie(pane.GridRect().top, pane.GridRect().height), std::make_tuple(120, 280));

  // The observations outlive the pane in the settings.
  CComputeHeadingPane again;
  EXPECT_NEAR(again.Heading().m_Roll, 6.0, 1e-9);
}

}  // namespace
}  // namespace orvale
