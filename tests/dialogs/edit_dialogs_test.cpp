// The record edit dialogs as a host drives them: axes and flattening kept consistent,
// the datum's units switch and epoch rows, and OK writing a record that reads back.

#include <gtest/gtest.h>

#include <string>

#include "orvale/dialogs/edit_datum.h"
#include "orvale/dialogs/edit_projection.h"
#include "orvale/dialogs/edit_spheroid.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/panes/grid_snapshot.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

class EditDialogsTest : public testing::TemporaryDrives {
 protected:
  static void Edit(CRecordEditDialog& dialog, const std::string& path, const std::string& text) {
    const EditResult result = ApplyEdit(dialog.Grid(), path, text);
    ASSERT_EQ(result.outcome, EditOutcome::kTaken) << path << ": " << result.reason;
  }
  static std::string Text(CRecordEditDialog& dialog, int group, int row) {
    return dialog.Grid().GetProperty(group)->GetSubItem(row)->FormatProperty();
  }
};

TEST_F(EditDialogsTest, SpheroidAxesAndFlatteningFollowEachOther) {
  CEditSpheroid dialog;
  ASSERT_TRUE(dialog.OnInitDialog());
  EXPECT_EQ(dialog.Caption(), "Edit Spheroid");
  EXPECT_TRUE(dialog.Grid().IsHeaderCtrl());
  Edit(dialog, "1/1", "Test 1980");
  // A new axis keeps the flattening held and moves b with it.
  const double flattening = dialog.Spheroid().m_InverseFlattening;
  Edit(dialog, "1/3", "6378000");
  EXPECT_EQ(dialog.Spheroid().m_InverseFlattening, flattening);
  EXPECT_DOUBLE_EQ(dialog.Spheroid().m_SemiMinorAxis, (1.0 - 1.0 / flattening) * 6378000.0);
  Edit(dialog, "1/3", "6378137");
  Edit(dialog, "1/5", "298.257222101");
  EXPECT_NEAR(dialog.Spheroid().m_SemiMinorAxis, 6356752.314140, 1e-6) << "GRS80's b";
  EXPECT_EQ(Text(dialog, 1, 6), "    0.0066943800");
  // A sphere's flattening of 1 typed is not a real earth: 297 stands in.
  Edit(dialog, "1/5", "1");
  EXPECT_EQ(dialog.Spheroid().m_InverseFlattening, 297.0);
  // b typed equal to a: an inverse flattening of 1.
  Edit(dialog, "1/4", "6378137");
  EXPECT_EQ(dialog.Spheroid().m_InverseFlattening, 1.0);
  EXPECT_EQ(Text(dialog, 1, 6), "    0.0000000000");

  Edit(dialog, "1/5", "298.257222101");
  Edit(dialog, "0/0", "MyGRS");
  ASSERT_TRUE(dialog.OnBnClickedOk());
  EXPECT_EQ(dialog.Result(), IDOK);
  CEditSpheroid reopened;
  ASSERT_TRUE(reopened.OnInitDialog());
  EXPECT_EQ(reopened.Grid().GetProperty(0)->GetSubItem(0)->GetOptions(),
            std::vector<std::string>{"MyGRS"});
  Edit(reopened, "0/0", "MyGRS");
  EXPECT_EQ(reopened.Spheroid().m_Name, "Test 1980");
  EXPECT_NEAR(reopened.Spheroid().m_SemiMinorAxis, 6356752.314140, 1e-6);
  // A title with no file keeps what is held.
  Edit(reopened, "0/0", "Nothing");
  EXPECT_EQ(reopened.Spheroid().m_Name, "Test 1980");
}

TEST_F(EditDialogsTest, DatumUnitsSwitchAndEpochRows) {
  CEditDatum dialog;
  ASSERT_TRUE(dialog.OnInitDialog());
  EXPECT_EQ(dialog.Caption(), "Edit Datum");
  // With the reference epoch off, no epoch or rate line shows.
  const auto shown = [&dialog](int group, int row) {
    return dialog.Grid().GetProperty(group)->GetSubItem(row)->IsVisible();
  };
  EXPECT_FALSE(shown(4, 1) || shown(4, 2) || shown(4, 3) || shown(5, 0));
  Edit(dialog, "4/0", "True");
  EXPECT_TRUE(shown(4, 1) && shown(4, 2) && shown(5, 0));
  EXPECT_EQ(Text(dialog, 4, 2), "True") << "a new datum's epoch is fixed";
  EXPECT_TRUE(shown(4, 3));
  Edit(dialog, "4/2", "False");
  EXPECT_FALSE(shown(4, 3)) << "the transformation epoch waits for Fixed (t)";
  Edit(dialog, "4/2", "True");
  EXPECT_TRUE(shown(4, 3));

  Edit(dialog, "3/3", "0.5");
  EXPECT_EQ(dialog.Datum().m_Shift.m_RX, 0.5);
  EXPECT_EQ(Text(dialog, 3, 3), "   +0.500000\"");
  EXPECT_EQ(dialog.UnitsCaption(), "Sec Arc/ppm");
  dialog.OnBnClickedUnits();
  EXPECT_EQ(dialog.UnitsCaption(), "mas/ppb");
  EXPECT_EQ(Text(dialog, 3, 3), " +500.000000 (mas)");
  Edit(dialog, "3/4", "250");
  EXPECT_EQ(dialog.Datum().m_Shift.m_RY, 0.25) << "typed in mas, stored in seconds";
  dialog.OnBnClickedUnits();
  EXPECT_EQ(Text(dialog, 3, 3), "   +0.500000\"") << "twice: the first numbers again";

  Edit(dialog, "3/7", "Co-ordinate Frame");
  EXPECT_EQ(Text(dialog, 3, 8), "( US Dept of Defense)");
  Edit(dialog, "5/0", "1.5");
  EXPECT_DOUBLE_EQ(dialog.Datum().m_Shift.m_DXRate, 0.0015);

  Edit(dialog, "1/2", "ITRF2014");
  Edit(dialog, "2/2", "ETRF2000");
  Edit(dialog, "0/0", "Itrf_Etrf");
  ASSERT_TRUE(dialog.OnBnClickedOk());
  CEditDatum reopened;
  ASSERT_TRUE(reopened.OnInitDialog());
  Edit(reopened, "0/0", "Itrf_Etrf");
  EXPECT_EQ(reopened.Datum().m_FromName, "ITRF2014");
  EXPECT_EQ(reopened.Datum().m_Shift.m_RY, 0.25);
  EXPECT_EQ(reopened.Datum().m_Shift.m_RotationMethod, 1);
  EXPECT_TRUE(reopened.Grid().GetProperty(5)->GetSubItem(0)->IsVisible());
}

TEST_F(EditDialogsTest, ProjectionShowsOnlyWhatItsTypeAndMethodUse) {
  CEditProjection dialog;
  ASSERT_TRUE(dialog.OnInitDialog());
  EXPECT_EQ(dialog.Caption(), "Edit Projection");
  const CMFCPropertyGridProperty* origin = dialog.Grid().GetProperty(3);
  const auto shown = [origin](int row) { return origin->GetSubItem(row)->IsVisible(); };
  EXPECT_EQ(dialog.Grid().GetProperty(2)->GetSubItem(0)->GetOptions().size(), 7u)
      << "the seven types a user may define";
  // A transverse Mercator: origin, false origin and scale; no parallels.
  EXPECT_TRUE(shown(0) && shown(6) && shown(7) && shown(8) && shown(9));
  EXPECT_FALSE(shown(1) || shown(2) || shown(3) || shown(4));

  Edit(dialog, "2/0", "Lambert Conical");
  EXPECT_EQ(dialog.Projection().m_Type, 6);
  Edit(dialog, "2/3", "Two Standard Parallel");
  EXPECT_TRUE(shown(1) && shown(2)) << "both parallels of the two-parallel method";
  Edit(dialog, "3/1", "52 0 0N");
  Edit(dialog, "3/2", "54 0 0N");
  Edit(dialog, "3/7", "500000");
  Edit(dialog, "2/1", "Test Lambert");
  Edit(dialog, "0/0", "TestLambert");
  ASSERT_TRUE(dialog.OnBnClickedOk());

  CEditProjection reopened;
  ASSERT_TRUE(reopened.OnInitDialog());
  Edit(reopened, "0/0", "TestLambert");
  EXPECT_EQ(reopened.Projection().m_Name, "Test Lambert");
  EXPECT_EQ(reopened.Projection().m_Method, 1);
  EXPECT_EQ(reopened.Projection().m_FalseEasting, 500000.0);
  EXPECT_NEAR(reopened.Projection().m_StandardParallel2 * kDegreesPerRadian, 54.0, 1e-9);
}

}  // namespace
}  // namespace orvale
