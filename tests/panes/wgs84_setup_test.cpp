// The WGS84 set-up dialog as a host drives it: its lists are the catalogue's, a
// choice loads the datum, the target spheroid or the projection, and the displays
// show the choice in the host's units.

#include "orvale/panes/wgs84_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

class Wgs84SetupTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_TRUE(target_spheroid_.SetBuiltIn(26));
    target_projection_.m_Spheroid = &target_spheroid_;
    ASSERT_TRUE(target_projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
    datum_.m_TargetSpheroid = &target_spheroid_;
    datum_.m_TargetProjection = &target_projection_;
    dialog_.SetDatum(&datum_);
    dialog_.GridMode(0, 0, 0);
    dialog_.SetAnglePreference(0);
    dialog_.OnInitDialog();
  }

  std::string Display(const std::string& label) const {
    for (const auto& [name, text] : dialog_.Displays())
      if (name == label) return text;
    return "(none)";
  }

  CSpheroid target_spheroid_;
  CProjection target_projection_;
  CDatum datum_;
  CWGS84Setup dialog_;
};

TEST_F(Wgs84SetupTest, ChoicesLoadTheDatumAndTheDisplaysFollow) {
  EXPECT_EQ(dialog_.Caption(), "WGS84 Setup");
  ASSERT_GE(dialog_.DatumTypes().size(), 6u);
  EXPECT_EQ(dialog_.DatumTypes().front(), "No datum Shift");
  EXPECT_TRUE(dialog_.IsSpheroidListShown()) << "no datum shift: a spheroid is chosen";
  EXPECT_FALSE(dialog_.Spheroids().empty());

  ASSERT_TRUE(dialog_.SelectDatumType("WGS84 Shifts"));
  EXPECT_TRUE(dialog_.IsDatumListShown());
  ASSERT_FALSE(dialog_.Datums().empty());
  const std::string second = dialog_.Datums().at(1);
  ASSERT_TRUE(dialog_.SelectDatum(second));
  EXPECT_EQ(datum_.GetName(), second);
  char dx[32];
  std::snprintf(dx, sizeof dx, "%.6lf", datum_.m_Shift.m_DX);
  EXPECT_EQ(Display("Dx"), dx);
  EXPECT_FALSE(dialog_.SelectDatum("No such datum"));
  EXPECT_EQ(datum_.GetName(), second) << "a text not in the list changes nothing";
}

TEST_F(Wgs84SetupTest, ASpheroidChoiceGivesTheTargetItsAxesAndLengthsShowInTheHostsUnit) {
  const std::string clarke =
      *std::find_if(dialog_.Spheroids().begin(), dialog_.Spheroids().end(),
                    [](const std::string& s) { return s.starts_with("Clarke 1866"); });
  ASSERT_TRUE(dialog_.SelectSpheroid(clarke));

  EXPECT_TRUE(target_spheroid_.m_Name.starts_with("Clarke 1866")) << target_spheroid_.m_Name;
  EXPECT_DOUBLE_EQ(target_spheroid_.m_SemiMajorAxis, 6378206.4);
  EXPECT_EQ(Display("Semi - Major Axis"), "6378206.400");
  dialog_.GridMode(1, 0, 0);  // international feet
  EXPECT_EQ(Display("Semi - Major Axis"), "20925874.016");
  EXPECT_EQ(Display("Ratio  1:"), "2500");
  EXPECT_EQ(Display("Lon"), "003\xB0 00' 00\".00000E") << "zone 31's central meridian";

  // The projection types follow the new spheroid: those with rows on Clarke 1866.
  const std::vector<std::string> types = dialog_.ProjectionTypes();
  ASSERT_GE(types.size(), 2u);
  ASSERT_TRUE(dialog_.SelectProjectionType(types.back()));
  EXPECT_EQ(FindProjectionType(target_projection_.m_Type)->text, types.back());
  EXPECT_EQ(target_projection_.m_Spheroid->m_Name, target_spheroid_.m_Name);
  EXPECT_FALSE(dialog_.Projections().empty());
}

}  // namespace
}  // namespace orvale
