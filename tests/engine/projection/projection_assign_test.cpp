// Copying a projection record: the copy computes as its source does, on the spheroid it
// already refers to, which takes the contents of the source's.
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

// Every output of both directions at points across Great Britain.
std::vector<double> Results(TestProjection& p) {
  std::vector<double> results;
  for (const double lat : {49.9, 52.657570306, 58.6}) {
    for (const double lon : {-7.5, -2.0, 1.717921583}) {
      const RoundTripOutputs x = p.BothWays(Radians(lat), Radians(lon));
      results.insert(results.end(), {x.easting, x.northing, x.convergence, x.scale, x.back_latitude,
                                     x.back_longitude, x.back_convergence, x.back_scale});
    }
  }
  return results;
}

TEST(ProjectionAssignment, GivesACopyThatProjectsEveryPointAsItsSourceOnItsOwnSpheroid) {
  TestProjection source(0 /* Airy 1830 */, PROJECTION_TRANSVERSE_MERCATOR);
  source.SetParametersDeg(49.0, -2.0, 400000.0, -100000.0, 0.9996012717);
  TestProjection target(kWgs84Row, PROJECTION_LAMBERT, 1);
  static_cast<CProjection&>(target) = source;
  EXPECT_EQ(target.m_Spheroid, &target.spheroid) << "the target keeps its own spheroid";
  EXPECT_EQ(target.spheroid.m_SemiMajorAxis, 6377563.39635) << "which takes Airy's contents";
  EXPECT_EQ(Results(target), Results(source));

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

  target.Assign(target);
  EXPECT_EQ(Results(target), Results(source)) << "assigning a record to itself changes nothing";
}

}  // namespace
}  // namespace orvale
