// The parameter transformation pane: rates entered in thousandths, the fixed set at
// the transformation epoch (stored, or today's), and both sets written as records
// under the titles a user can find again.

#include "orvale/panes/parameter_transformation_pane.h"

#include <gtest/gtest.h>

#include <string>

#include "orvale/engine/datum/helmert.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

class ParameterPaneTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    host_.AttachHost(&queue_, &profile_);
    ASSERT_TRUE(pane_.Create(&host_, 500));
  }

  void Edit(const std::string& path, const std::string& text) {
    const EditResult result = ApplyEdit(pane_.Grid(), path, text);
    ASSERT_EQ(result.outcome, EditOutcome::kTaken) << path << " " << result.reason;
  }

  FixedClock clock_{{2026, 7, 2, 12, 0, 0.0, 0, false}};
  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd host_;
  CParameterTransformationPane pane_{clock_};
};

TEST_F(ParameterPaneTest, RatesAreEnteredInThousandthsAndCarriedToTheEpoch) {
  EXPECT_EQ(pane_.GetCaption(), "Parameter Transformation");
  Edit("3/0", "0.1");    // dX, metres
  Edit("4/0", "1.5");    // its rate, millimetres a year
  Edit("4/5", "-0.77");  // the Z rotation's rate, milliarcseconds a year
  Edit("4/6", "2");      // the scale's, parts per billion
  EXPECT_DOUBLE_EQ(pane_.Edited().m_Shift.m_DXRate, 0.0015);
  EXPECT_DOUBLE_EQ(pane_.Edited().m_Shift.m_RZRate, -0.00077);
  EXPECT_EQ(pane_.Grid().GetProperty(4)->GetSubItem(0)->FormatProperty(), " +1.500000  mm");

  // Delta t = 0: the fixed set is the base set.
  Edit("1/2", "2026.5");
  Edit("6/1", "True");
  Edit("6/2", "2026.5");
  EXPECT_DOUBLE_EQ(pane_.Fixed().m_Shift.m_DX, 0.1);
  EXPECT_EQ(pane_.Fixed().m_Shift.m_TimeDependent, 0);
  // Ten years on.
  Edit("1/2", "2016.5");
  EXPECT_NEAR(pane_.Fixed().m_Shift.m_DX, 0.115, 1e-12);
  EXPECT_NEAR(pane_.Fixed().m_Shift.m_RZ, -0.0077, 1e-12);
  EXPECT_NEAR(pane_.Fixed().m_Shift.m_Scale, 0.02, 1e-12);
  EXPECT_EQ(pane_.Fixed().m_Shift.m_DXRate, 0.0) << "the fixed set has no rates";
}

TEST_F(ParameterPaneTest, WithoutAFixedEpochTnFollowsTheClock) {
  Edit("6/1", "False");
  EXPECT_DOUBLE_EQ(pane_.TransformationEpoch(), GetCurrentEpoch(clock_));
  EXPECT_FALSE(TakeSnapshot(pane_.Grid()).properties[6].items[2].editable);
  Edit("4/0", "10");
  const double today = pane_.Fixed().m_Shift.m_DX;
  clock_.Set({2027, 7, 2, 12, 0, 0.0, 0, false});
  pane_.Compute();
  EXPECT_NEAR(pane_.Fixed().m_Shift.m_DX - today, 0.010, 1e-9) << "a year later, 10 mm more";
  Edit("6/1", "True");
  EXPECT_TRUE(TakeSnapshot(pane_.Grid()).properties[6].items[2].editable);
}

TEST_F(ParameterPaneTest, BothSetsAreWrittenUnderTrimmedTitlesAndReadBack) {
  EXPECT_EQ(CParameterTransformationPane::TrimNumber("1989.000000"), "1989");
  EXPECT_EQ(CParameterTransformationPane::TrimNumber("2010.500000"), "2010.5");
  EXPECT_EQ(CParameterTransformationPane::TrimNumber("1200"), "1200") << "no point, no trim";

  Edit("1/0", "ITRF2014");
  Edit("6/0", "ETRF2000");
  Edit("1/2", "2010");
  Edit("3/0", "0.054");
  Edit("4/0", "0.1");
  Edit("6/1", "True");
  Edit("6/2", "2026.5");
  Edit("5/0", "");
  EXPECT_EQ(pane_.Edited().m_FileTitle, "ITRF2014_t0_2010");
  EXPECT_EQ(pane_.Edited().m_ShiftStatus, "t0_2010");
  Edit("9/0", "");
  EXPECT_EQ(pane_.FixedTitle(), "ITRF2014_t0_2010_ETRF2000_tn_2026+5");
  const std::string folder = RecordFolder();
  EXPECT_TRUE(FileExists(folder + "ITRF2014_t0_2010.DMF"));
  EXPECT_TRUE(FileExists(folder + "ITRF2014_t0_2010_ETRF2000_tn_2026+5.DMF"));
  EXPECT_EQ(queue_.Count(), 2u) << "each write is posted";

  // Chosen from the file list, the edited record comes back as it was written.
  const std::vector<std::string>& files = pane_.Grid().GetProperty(0)->GetSubItem(0)->GetOptions();
  EXPECT_EQ(files,
            (std::vector<std::string>{"ITRF2014_t0_2010", "ITRF2014_t0_2010_ETRF2000_tn_2026+5"}));
  Edit("3/0", "9");
  Edit("0/0", "ITRF2014_t0_2010");
  EXPECT_DOUBLE_EQ(pane_.Edited().m_Shift.m_DX, 0.054);
  EXPECT_DOUBLE_EQ(pane_.Edited().m_Shift.m_DXRate, 0.0001);
  EXPECT_EQ(pane_.Edited().m_Shift.m_TimeDependent, 1);
  CParameterTransformationPane reopened(clock_);
  ASSERT_TRUE(reopened.Create(&host_, 501));
  EXPECT_EQ(reopened.Edited().m_FileTitle, "ITRF2014_t0_2010") << "the choice is remembered";
}

}  // namespace
}  // namespace orvale
