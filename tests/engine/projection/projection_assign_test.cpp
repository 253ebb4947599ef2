// Copying a projection record: every member, the spheroid by contents into the
// target's own spheroid, and a set-up that leaves the copy computing as the source.
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

TEST(ProjectionAssignTest, CopiesEveryMemberAndTheSpheroidByContents) {
  TestProjection source(0 /* Airy 1830 */, PROJECTION_TRANSVERSE_MERCATOR);
  source.SetNames("Ordnance Survey National Grid", "United Kingdom");
  source.m_FileTitle = "OSGB";
  source.m_Extra = "kept";
  source.m_Reserved = 7;
  source.SetParametersDeg(49.0, -2.0, 400000.0, -100000.0, 0.9996012717);

  TestProjection target(kWgs84Row, PROJECTION_LAMBERT, 1);
  CSpheroid* const own = target.m_Spheroid;
  static_cast<CProjection&>(target) = source;  // the record's own assignment
  EXPECT_EQ(target.m_Spheroid, own) << "the target keeps its own spheroid";
  EXPECT_EQ(target.spheroid.m_SemiMajorAxis, 6377563.39635);
  EXPECT_EQ(target.spheroid.m_E2, source.spheroid.m_E2);
  EXPECT_EQ((std::array{target.m_Name, target.m_Country, target.m_FileTitle, target.m_Extra}),
            (std::array{source.m_Name, source.m_Country, source.m_FileTitle, source.m_Extra}));
  EXPECT_EQ((std::array{target.m_Type, target.m_Method, target.m_Reserved}),
            (std::array{source.m_Type, source.m_Method, source.m_Reserved}));
  EXPECT_EQ((std::array{target.m_M0, target.m_Nu0, target.m_ScaleRatio}),
            (std::array{source.m_M0, source.m_Nu0, source.m_ScaleRatio}));
  const GridOutputs a = source.Forward(Radians(52.657570306), Radians(1.717921583));
  const GridOutputs b = target.Forward(Radians(52.657570306), Radians(1.717921583));
  EXPECT_EQ((std::array{a.easting, a.northing, a.convergence, a.scale}),
            (std::array{b.easting, b.northing, b.convergence, b.scale}));

  // A target without a spheroid, assigned or copy-constructed, takes a spheroid of its
  // own with the source's contents: loading another row into it leaves the source's
  // spheroid alone.
  CProjection bare;
  bare = source;
  CProjection constructed(source);
  for (CProjection* copy : {&bare, &constructed}) {
    ASSERT_NE(copy->m_Spheroid, nullptr);
    EXPECT_NE(copy->m_Spheroid, source.m_Spheroid);
    EXPECT_EQ(copy->m_Spheroid->m_Name, "Airy 1830");
    ASSERT_TRUE(copy->SetFromCatalogue(0, PROJECTION_NORWEGIAN, 0));
    EXPECT_EQ(copy->m_Spheroid->m_Name, "International Spheroid");
    EXPECT_EQ(source.spheroid.m_Name, "Airy 1830") << "the source's spheroid is untouched";
  }

  // Without any spheroid the set-up cannot derive the origin's values: they are copied.
  CProjection detached = source;
  detached.m_Spheroid = nullptr;
  CProjection copy;
  copy.Assign(detached);
  EXPECT_EQ((std::array{copy.m_SinLat0, copy.m_M0, copy.m_Rho0, copy.m_Psi0}),
            (std::array{source.m_SinLat0, source.m_M0, source.m_Rho0, source.m_Psi0}));

  // Assigning a record to itself changes nothing.
  target.Assign(target);
  EXPECT_EQ(target.m_M0, source.m_M0);
}

}  // namespace
}  // namespace orvale
