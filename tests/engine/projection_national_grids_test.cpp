#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid.h"

namespace orvale {
namespace {

constexpr int kInternationalRow = 20;  // ED50's spheroid, on which both grids sit
constexpr double kDegree = kRadiansPerDegree;

struct Position {
  double latitude = 0.0;  // radians
  double longitude = 0.0;
};

// A national grid record and a plain UTM record of the same zone, so that each
// national round trip can be told apart from the Transverse Mercator's own loss.
class NationalGridTest : public ::testing::Test {
 protected:
  NationalGridTest() {
    spheroid_.SetBuiltIn(kInternationalRow);
    grid_.m_Spheroid = &spheroid_;
    utm_.m_Spheroid = &spheroid_;
    utm_.m_Type = PROJECTION_UTM;
  }

  void SetUpGrid(int type, int axis_or_zone, int utm_zone) {
    grid_.m_Type = type;
    grid_.m_Method = type == PROJECTION_NORWEGIAN ? std::max(axis_or_zone - 1, 0) : 0;
    grid_.SetGridAxisAndZone(axis_or_zone, utm_zone);
    grid_.SetParameters(0.0, CProjection::UtmZoneCentralMeridian(utm_zone), 500000.0, 0.0, 0.9996);
    utm_.SetParameters(0.0, CProjection::UtmZoneCentralMeridian(utm_zone), 500000.0, 0.0, 0.9996);
  }

  Position FromUtm(double easting, double northing) const {
    Position p;
    utm_.GridToGeog(easting, northing, &p.latitude, &p.longitude);
    return p;
  }

  double Separation(const Position& a, const Position& b) const {
    const double r = spheroid_.m_SemiMajorAxis;
    return std::hypot((a.latitude - b.latitude) * r,
                      (a.longitude - b.longitude) * r * std::cos(a.latitude));
  }

  // Metres between the national grid's round trip of a position and the plain UTM
  // round trip of it: what the national conversions add to the series' own loss.
  double AddedRoundTripError(const Position& start) {
    double x = 0.0, y = 0.0;
    grid_.GeogToGrid(start.latitude, start.longitude, &x, &y);
    Position national;
    grid_.GridToGeog(x, y, &national.latitude, &national.longitude);
    double e = 0.0, n = 0.0;
    utm_.GeogToGrid(start.latitude, start.longitude, &e, &n);
    Position plain;
    utm_.GridToGeog(e, n, &plain.latitude, &plain.longitude);
    return Separation(national, plain);
  }

  CSpheroid spheroid_;
  CProjection grid_;
  CProjection utm_;
};

using NorwegianGridTest = NationalGridTest;
using DanishGridTest = NationalGridTest;

std::string AxisName(int axis) {
  static const char* const kNames[] = {"NGO (Axis I)",   "NGO (Axis II)",  "NGO (Axis III)",
                                       "NGO (Axis IV)",  "NGO (Axis V)",   "NGO (Axis VI)",
                                       "NGO (Axis VII)", "NGO (Axis VIII)"};
  return kNames[axis - 1];
}

// Reference: PROJ 9.1 converting ED50 geographicals to the NGO 1948 axes (EPSG 27391
// to 27398) through the EPSG NGO 1948 -> WGS 84 -> ED50 Helmert pair, itself good to
// about 10 m. Our polynomials come within 2.6 m of it everywhere, which pins every
// axis's coefficients and each block's transformation to the metre.
TEST_F(NorwegianGridTest, AgreesWithTheGeodeticDefinitionOfEachAxisToAFewMetres) {
  struct Case {
    int utm_zone;
    int axis;
    double lat, lon;  // ED50, degrees
    double x, y;      // NGO 1948, metres
  };
  const Case cases[] = {
      {32, 1, 59.0, 6.0, 111235.537, -3069.859},    {32, 1, 60.4, 5.3, 267448.067, -41527.299},
      {32, 2, 60.0, 8.5, 222641.733, 6338.686},     {32, 2, 61.5, 8.0, 389841.269, -20572.260},
      {32, 3, 59.9, 10.75, 211489.914, 1707.816},   {32, 3, 63.0, 10.4, 556995.908, -16173.273},
      {33, 4, 65.0, 13.5, 779939.911, 13275.571},   {33, 5, 68.5, 16.5, 1170278.641, -15720.778},
      {34, 6, 69.5, 20.5, 1281817.388, -14991.034}, {35, 7, 70.0, 25.0, 1337540.421, 4480.279},
      {35, 8, 70.3, 28.5, 1371086.135, -20650.919},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon << " on axis " << c.axis);
    // Zones below 33 choose the axis themselves: start from a different one.
    SetUpGrid(PROJECTION_NORWEGIAN, c.utm_zone < 33 ? 8 : c.axis, c.utm_zone);
    double x = 0.0, y = 0.0;
    grid_.GeogToGrid(c.lat * kDegree, c.lon * kDegree, &x, &y);
    EXPECT_EQ(grid_.GridAxis(), c.axis);
    EXPECT_EQ(grid_.GridUtmZone(), c.utm_zone);
    EXPECT_EQ(grid_.m_Country, AxisName(c.axis));
    EXPECT_NEAR(x, c.x, 3.0);
    EXPECT_NEAR(y, c.y, 3.0);
  }
}

// In zones 31 and 32 the forward picks the block (and with it the axis) from the UTM
// position, and the inverse picks it again from the polynomial value: both choices
// must agree on either side of every block boundary, or the round trip would jump by
// the metres that separate neighbouring blocks' transformations.
TEST_F(NorwegianGridTest, ChoosesTheBlockAndAxisFromTheUtmPosition) {
  struct Boundary {
    double easting, northing;  // a point on the boundary, zone 32
    double step_e, step_n;     // across it
    int axis_before, axis_after;
  };
  const Boundary boundaries[] = {
      {350000.0, 6640000.9, 0.0, 1.0, 1, 1},  // block 1 | 2
      {350000.0, 6770001.6, 0.0, 1.0, 1, 1},  // block 2 | 3
      {400000.0, 6600000.0, 1.0, 0.0, 1, 2},  // block 1 | 4
      {400000.0, 6900000.0, 1.0, 0.0, 1, 2},  // block 3 | 7
      {450000.0, 6530000.7, 0.0, 1.0, 2, 2},  // block 4 | 5
      {450000.0, 6640000.6, 0.0, 1.0, 2, 2},  // block 5 | 6
      {450000.0, 6730001.0, 0.0, 1.0, 2, 2},  // block 6 | 7
      {450000.0, 6930001.1, 0.0, 1.0, 2, 3},  // block 7 | 8
      {530001.0, 6650000.0, 1.0, 0.0, 2, 3},  // block 6 | 9
      {530001.0, 7000000.0, 1.0, 0.0, 3, 3},  // block 8 | 11
      {600000.0, 6730000.1, 0.0, 1.0, 3, 3},  // block 9 | 10
      {600000.0, 6900001.0, 0.0, 1.0, 3, 3},  // block 10 | 11
  };
  for (const Boundary& b : boundaries) {
    for (const double side : {-50.0, 50.0}) {
      SCOPED_TRACE(testing::Message() << "E " << b.easting + side * b.step_e << ", N "
                                      << b.northing + side * b.step_n);
      SetUpGrid(PROJECTION_NORWEGIAN, 5, 32);
      const Position start = FromUtm(b.easting + side * b.step_e, b.northing + side * b.step_n);
      EXPECT_LT(AddedRoundTripError(start), 0.001);
      const int axis = side < 0.0 ? b.axis_before : b.axis_after;
      EXPECT_EQ(grid_.GridAxis(), axis);
      EXPECT_EQ(grid_.m_Country, AxisName(axis));
    }
  }
}

TEST_F(NorwegianGridTest, KeepsTheStoredAxisNorthEastOfTheBlocks) {
  // Block 12 of zones 31 and 32, and every position of zones 33 to 35, take the axis
  // already in the record.
  SetUpGrid(PROJECTION_NORWEGIAN, 3, 32);
  double x = 0.0, y = 0.0;
  const Position block12 = FromUtm(600000.0, 7100000.0);
  grid_.GeogToGrid(block12.latitude, block12.longitude, &x, &y);
  EXPECT_EQ(grid_.GridAxis(), 3);
  EXPECT_EQ(grid_.m_Country, "NGO (Axis III)");

  for (int axis = 4; axis <= 8; ++axis) {
    SCOPED_TRACE(axis);
    SetUpGrid(PROJECTION_NORWEGIAN, axis, 34);
    grid_.m_Country.clear();
    grid_.GeogToGrid(69.0 * kDegree, 21.0 * kDegree, &x, &y);
    EXPECT_EQ(grid_.GridAxis(), axis);
    EXPECT_EQ(grid_.m_Country, AxisName(axis));
  }
}

// Over the country, zone by zone: the national grid adds at most 0.3 mm (the UTM
// residual left when the forward iteration stops, measured over a 0.05 degree grid)
// to the Transverse Mercator's own loss.
TEST_F(NorwegianGridTest, RoundTripsThroughEveryAxisWithinAMillimetre) {
  struct Area {
    int utm_zone;
    int axis;  // for zones 33 to 35; zones 31 and 32 choose their own
    double lat_from, lat_to, lon_from, lon_to;
  };
  const Area areas[] = {
      {32, 1, 57.9, 63.5, 4.5, 12.0},  // below block 12 (N 7060001.6)
      {33, 4, 63.5, 67.0, 12.0, 15.0}, {33, 5, 66.0, 69.5, 15.0, 18.0},
      {34, 6, 68.5, 70.5, 18.0, 24.0}, {35, 7, 68.5, 71.0, 24.0, 27.0},
      {35, 8, 69.0, 71.0, 27.0, 31.0},
  };
  for (const Area& area : areas) {
    SetUpGrid(PROJECTION_NORWEGIAN, area.axis, area.utm_zone);
    double worst = 0.0;
    for (double lat = area.lat_from; lat <= area.lat_to; lat += 0.25) {
      for (double lon = area.lon_from; lon <= area.lon_to; lon += 0.25) {
        worst = std::max(worst, AddedRoundTripError({lat * kDegree, lon * kDegree}));
      }
    }
    EXPECT_LT(worst, 0.001) << "zone " << area.utm_zone << ", axis " << area.axis;
  }
}

TEST_F(NorwegianGridTest, StopsIteratingAfterAHundredRoundsWithTheLastEstimate) {
  // Half a world away from zone 32 the projected position is some 1e8 m out, where the
  // polynomial is nowhere near a similarity and the correction runs away instead of
  // settling; the forward still returns, with whatever its last estimate was.
  SetUpGrid(PROJECTION_NORWEGIAN, 1, 32);
  double x = 12345.0, y = 12345.0;
  grid_.GeogToGrid(1.0 * kDegree, -170.0 * kDegree, &x, &y);
  EXPECT_NE(x, 12345.0);
  EXPECT_NE(y, 12345.0);
  EXPECT_EQ(grid_.m_Country, AxisName(grid_.GridAxis()));
}

// System 34's two directions are independent polynomial fits, so a round trip checks
// both tables against each other. Measured: 0.5 mm over Jutland; 13.5 mm at the far
// south-east corner of Zealand, where the point is 3.6 degrees from the UTM central
// meridian and the Transverse Mercator inverse itself loses about that much.
TEST_F(DanishGridTest, RoundTripsOverJutlandAndZealand) {
  struct Area {
    int zone;
    double lat_from, lat_to, lon_from, lon_to;
    double tolerance;
  };
  const Area areas[] = {
      {0, 54.8, 57.8, 8.0, 11.0, 0.001},
      {1, 54.9, 56.1, 11.0, 12.6, 0.015},
  };
  for (const Area& area : areas) {
    SetUpGrid(PROJECTION_DANISH, area.zone, 32);
    double worst = 0.0;
    for (double lat = area.lat_from; lat <= area.lat_to; lat += 0.1) {
      for (double lon = area.lon_from; lon <= area.lon_to; lon += 0.1) {
        const Position start{lat * kDegree, lon * kDegree};
        double x = 0.0, y = 0.0;
        grid_.GeogToGrid(start.latitude, start.longitude, &x, &y);
        Position back;
        grid_.GridToGeog(x, y, &back.latitude, &back.longitude);
        worst = std::max(worst, Separation(start, back));
      }
    }
    EXPECT_LT(worst, area.tolerance) << "zone " << area.zone;
  }
}

TEST_F(DanishGridTest, ReturnsTheSameConvergenceAndScaleAsTheUnderlyingUtm) {
  SetUpGrid(PROJECTION_DANISH, 0, 32);
  double g = 0.0, k = 0.0, utm_g = 0.0, utm_k = 0.0;
  grid_.GeogToGrid(56.0 * kDegree, 9.5 * kDegree, nullptr, nullptr, &g, &k);
  utm_.GeogToGrid(56.0 * kDegree, 9.5 * kDegree, nullptr, nullptr, &utm_g, &utm_k);
  EXPECT_EQ(g, utm_g);
  EXPECT_EQ(k, utm_k);
}

}  // namespace
}  // namespace orvale
