// The Norwegian and Danish national grids; their points computed by PROJ are cases in
// tests/data/projections/national_grids.txt.
#include <algorithm>
#include <string>

#include "support/projection_fixture.h"

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
  struct Boundary {
    double easting, northing;  // a point on the boundary, zone 32
    double step_e, step_n;     // across it
    int axis_before, axis_after;
  };
  // clang-format off
  const Boundary boundaries[] = {  // between blocks:
      {350000.0, 6640000.9, 0, 1, 1, 1}, {350000.0, 6770001.6, 0, 1, 1, 1},  // 1|2, 2|3
      {400000.0, 6600000.0, 1, 0, 1, 2}, {400000.0, 6900000.0, 1, 0, 1, 2},  // 1|4, 3|7
      {450000.0, 6530000.7, 0, 1, 2, 2}, {450000.0, 6640000.6, 0, 1, 2, 2},  // 4|5, 5|6
      {450000.0, 6730001.0, 0, 1, 2, 2}, {450000.0, 6930001.1, 0, 1, 2, 3},  // 6|7, 7|8
      {530001.0, 6650000.0, 1, 0, 2, 3}, {530001.0, 7000000.0, 1, 0, 3, 3},  // 6|9, 8|11
      {600000.0, 6730000.1, 0, 1, 3, 3}, {600000.0, 6900001.0, 0, 1, 3, 3},  // 9|10, 10|11
      {600000.0, 7060001.6, 0, 1, 3, 5},  // 11|12: block 12 keeps the axis in the record
  };
  // clang-format on
  for (const Boundary& b : boundaries) {
    for (const double side : {-50.0, 50.0}) {
      const double easting = b.easting + side * b.step_e, northing = b.northing + side * b.step_n;
      SCOPED_TRACE(::testing::Message() << "E " << easting << ", N " << northing);
      SetUpGrid(PROJECTION_NORWEGIAN, 5, 32);
      EXPECT_LT(AddedRoundTripErrorAtUtm(easting, northing), 0.001);
      const int axis = side < 0.0 ? b.axis_before : b.axis_after;
      EXPECT_EQ(grid_.NorwegianAxis(), axis);
      EXPECT_EQ(grid_.m_Country, AxisName(axis));
    }
  }
}

// Measured over a 0.05 degree grid, the national grid adds at most 0.3 mm (the UTM residual
// left when the forward iteration stops) to the series' own loss.
TEST_F(NorwegianGridTest, RoundTripsThroughEveryAxisWithinAMillimetre) {
  struct Area {
    int utm_zone, axis;  // the axis for zones 33 to 35; zones 31 and 32 choose their own
    Span lat, lon;
  };
  const Area areas[] = {
      {32, 1, {57.9, 63.5, 0.25}, {4.5, 12.0, 0.25}},  // below block 12 (N 7060001.6)
      {33, 4, {63.5, 67.0, 0.25}, {12.0, 15.0, 0.25}},
      {33, 5, {66.0, 69.5, 0.25}, {15.0, 18.0, 0.25}},
      {34, 6, {68.5, 70.5, 0.25}, {18.0, 24.0, 0.25}},
      {35, 7, {68.5, 71.0, 0.25}, {24.0, 27.0, 0.25}},
      {35, 8, {69.0, 71.0, 0.25}, {27.0, 31.0, 0.25}},
  };
  for (const Area& area : areas) {
    SetUpGrid(PROJECTION_NORWEGIAN, area.axis, area.utm_zone);
    const double worst = WorstOverGrid(
        area.lat, area.lon, [&](double lat, double lon) { return AddedRoundTripError(lat, lon); });
    EXPECT_LT(worst, 0.001) << "zone " << area.utm_zone << ", axis " << area.axis;
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
