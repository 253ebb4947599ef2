// The Norwegian and Danish national grids; their points computed by PROJ are cases in
// tests/data/projections/national_grids.txt, their block boundaries and round-trip
// areas tables in tests/data/national_grids.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/projection_fixture.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using namespace testing;

// A national grid and a plain UTM record of its zone on ED50's spheroid, to tell the national
// conversions' round trip loss from the Transverse Mercator's own.
class NationalGridTest : public ::testing::Test {
 protected:
  void SetUpGrid(int type, int axis_or_zone, int utm_zone) {
    grid_.m_Type = type;
    grid_.m_Method = type == PROJECTION_NORWEGIAN ? std::max(axis_or_zone - 1, 0) : 0;
    if (type == PROJECTION_NORWEGIAN) grid_.SetNorwegianAxis(axis_or_zone, utm_zone);
    if (type == PROJECTION_DANISH) grid_.SetDanishZone(axis_or_zone, utm_zone);
    const double lon0 = CProjection::UtmZoneCentralMeridian(utm_zone);
    grid_.SetParameters(0.0, lon0, 500000.0, 0.0, 0.9996);
    utm_.SetParameters(0.0, lon0, 500000.0, 0.0, 0.9996);
  }

  // Metres between the national and the plain UTM round trips of a position.
  double AddedRoundTripError(double lat, double lon) {
    const RoundTripOutputs national = grid_.BothWays(lat, lon), plain = utm_.BothWays(lat, lon);
    return grid_.Separation(national.back_latitude, national.back_longitude, plain.back_latitude,
                            plain.back_longitude);
  }

  double AddedRoundTripErrorAtUtm(double easting, double northing) {
    double lat = 0.0, lon = 0.0;
    EXPECT_EQ(utm_.GridToGeog(easting, northing, &lat, &lon), ProjectionStatus::kOk);
    return AddedRoundTripError(lat, lon);
  }

  TestProjection grid_{kInternationalRow};
  TestProjection utm_{kInternationalRow, PROJECTION_UTM};
};

using NorwegianGridTest = NationalGridTest;
using DanishGridTest = NationalGridTest;

std::string AxisName(int axis) {
  static const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII"};
  return std::string("NGO (Axis ") + kRoman[axis - 1] + ")";
}

// In zones 31 and 32 the forward picks the block (and axis) from the UTM position, the
// inverse from the polynomial value: they must agree either side of every boundary.
// Block 12, like zones 33 to 35 (whose axes the points in national_grids.txt check),
// keeps the axis in the record.
TEST_F(NorwegianGridTest, ChoosesTheBlockAndAxisFromTheUtmPosition) {
  for (const TextRow& b : ReadTextTable("national_grids/norwegian_blocks.txt", 4)) {
    const std::vector<double> at = b.Numbers(0), across = b.Numbers(1);
    for (const double side : {-50.0, 50.0}) {
      const double easting = at.at(0) + side * across.at(0);
      const double northing = at.at(1) + side * across.at(1);
      SCOPED_TRACE(::testing::Message() << b.where << ": E " << easting << ", N " << northing);
      SetUpGrid(PROJECTION_NORWEGIAN, 5, 32);
      EXPECT_LT(AddedRoundTripErrorAtUtm(easting, northing), 1e-5);
      const int axis = std::stoi(b[side < 0.0 ? 2 : 3]);
      EXPECT_EQ(grid_.NorwegianAxis(), axis);
      EXPECT_EQ(grid_.m_Country, AxisName(axis));
    }
  }
}

// Over a 0.25 degree grid the national grid adds under 10 micrometres (the UTM residual
// left when the forward iteration stops) to the projection's own round trip.
TEST_F(NorwegianGridTest, RoundTripsThroughEveryAxisWithinAMillimetre) {
  for (const TextRow& area : ReadTextTable("national_grids/norwegian_areas.txt", 4)) {
    SCOPED_TRACE(area.where);
    const std::vector<double> lat = area.Numbers(2), lon = area.Numbers(3);
    SetUpGrid(PROJECTION_NORWEGIAN, std::stoi(area[1]), std::stoi(area[0]));
    EXPECT_LT(
        WorstOverGrid({lat.at(0), lat.at(1), lat.at(2)}, {lon.at(0), lon.at(1), lon.at(2)},
                      [&](double phi, double lambda) { return AddedRoundTripError(phi, lambda); }),
        1e-5);
  }
}

// Block 12 of zones 31 and 32 keeps the record's axis. An axis of I-III goes through
// block 12's similarity, as the inverse takes it; an axis of IV-VIII is computed in
// its own UTM zone, so a zone 32 record gives what a record of that zone gives. Both
// round-trip.
TEST_F(NorwegianGridTest, KeepsTheAxisInBlock12AndRoundTripsThroughIt) {
  double lat = 0.0, lon = 0.0;
  for (const int axis : {1, 3, 4, 5}) {
    SCOPED_TRACE(axis);
    SetUpGrid(PROJECTION_NORWEGIAN, axis, 32);
    EXPECT_EQ(utm_.GridToGeog(600000.0, 7100000.0, &lat, &lon), ProjectionStatus::kOk);
    EXPECT_LT(AddedRoundTripError(lat, lon), 1e-5);
    EXPECT_EQ(grid_.NorwegianAxis(), axis);
    const GridOutputs kept = grid_.Forward(lat, lon);
    if (axis < 4) continue;
    SetUpGrid(PROJECTION_NORWEGIAN, axis, 33);
    const GridOutputs own = grid_.Forward(lat, lon);
    EXPECT_NEAR(kept.easting, own.easting, 1e-6);
    EXPECT_NEAR(kept.northing, own.northing, 1e-6);
  }
}

// Half a world from the zone, the Transverse Mercator underneath has no point, and
// neither has the national grid.
TEST_F(NationalGridTest, GiveNothingFartherThanAQuarterTurnFromTheZone) {
  for (const int type : {PROJECTION_NORWEGIAN, PROJECTION_DANISH}) {
    SCOPED_TRACE(type);
    SetUpGrid(type, type == PROJECTION_NORWEGIAN ? 1 : 0, 32);
    const GridOutputs g = grid_.Forward(Radians(1.0), Radians(-170.0));
    EXPECT_EQ(g.status, ProjectionStatus::kFarFromCentralMeridian);
    EXPECT_TRUE(std::isnan(g.easting) && std::isnan(g.northing));
  }
}

TEST_F(DanishGridTest, ReturnsTheSameConvergenceAndScaleAsTheUnderlyingUtm) {
  SetUpGrid(PROJECTION_DANISH, 0, 32);
  const GridOutputs danish = grid_.Forward(Radians(56.0), Radians(9.5));
  const GridOutputs utm = utm_.Forward(Radians(56.0), Radians(9.5));
  EXPECT_EQ(danish.convergence, utm.convergence);
  EXPECT_EQ(danish.scale, utm.scale);
}

}  // namespace
}  // namespace orvale
