// Geographical to cartesian and back: the IOGP worked example, PROJ's inverse from
// below the ground to geostationary height and on the polar axis, round trips, and
// the conventions for spheres, the X = 0 meridians and input that is no number.

#include "orvale/engine/datum/cartesian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "support/text_table.h"

namespace orvale {
namespace {

constexpr double kTenthMillimetre = 1e-4;

CSpheroid Spheroid(double a, double rf) {
  CSpheroid spheroid;
  spheroid.SetAxes(a, rf);
  return spheroid;
}

CSpheroid Sphere() {
  CSpheroid sphere;
  sphere.m_SemiMajorAxis = 6371000.0;
  sphere.m_InverseFlattening = 1.0;
  sphere.ComputeConstants();
  return sphere;
}

double Dms(const std::vector<double>& dms) {
  return (dms[0] + dms[1] / 60.0 + dms[2] / 3600.0) * kRadiansPerDegree;
}

// The longitude difference brought within half a turn.
double LongitudeGap(double a, double b) {
  return std::remainder(a - b, 2.0 * std::numbers::pi);
}

TEST(Cartesian, ConvertsTheWorkedExampleToTheMillimetre) {
  for (const testing::TextRow& row :
       testing::ReadTextTable("datum/cartesian_worked_examples.txt", 5)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> axes = row.Numbers(0), expected = row.Numbers(4);
    double x = 0.0, y = 0.0, z = 0.0;
    GeogToCartesian(Spheroid(axes[0], axes[1]), Dms(row.Numbers(1)), Dms(row.Numbers(2)),
                    row.Numbers(3)[0], x, y, z);
    EXPECT_NEAR(x, expected[0], 1e-3);
    EXPECT_NEAR(y, expected[1], 1e-3);
    EXPECT_NEAR(z, expected[2], 1e-3);
  }
}

// How far apart two geographical positions are along the meridian, the parallel and
// the normal, in metres, at a point `p` from the axis.
struct Gaps {
  double meridian, parallel, normal;
  bool Within(double metres) const {
    return std::fabs(meridian) <= metres && std::fabs(parallel) <= metres &&
           std::fabs(normal) <= metres;
  }
};

Gaps Apart(const std::vector<double>& a, const std::vector<double>& b, double semi_major_axis,
           double p) {
  const double reach = semi_major_axis + std::fabs(a[2]);
  return {(a[0] - b[0]) * reach, LongitudeGap(a[1], b[1]) * p, a[2] - b[2]};
}

// Each row's X, Y, Z are the forward conversion of its position, so that position is
// the exact answer: held to 0.1 mm along the meridian, the parallel and the normal,
// and the same to PROJ's inverse wherever PROJ's own answer is that close to exact.
TEST(Cartesian, IsExactFromBelowTheGroundToGeostationaryHeightAndOnTheAxis) {
  constexpr double kProjDegree = std::numbers::pi / 180.0;
  int proj_rows = 0;
  const auto rows = testing::ReadTextTable("datum/cartesian_proj_reference.txt", 5);
  for (const testing::TextRow& row : rows) {
    SCOPED_TRACE(row.where);
    const std::vector<double> axes = row.Numbers(1), xyz = row.Numbers(2);
    std::vector<double> exact = row.Numbers(3), proj = row.Numbers(4);
    for (std::vector<double>* v : {&exact, &proj}) {
      (*v)[0] *= kProjDegree;
      (*v)[1] *= kProjDegree;
    }
    const CSpheroid spheroid = Spheroid(axes[0], axes[1]);
    std::vector<double> ours(3, 1.0);
    const double p = std::hypot(xyz[0], xyz[1]);
    EXPECT_EQ(CartesianToGeog(spheroid, xyz[0], xyz[1], xyz[2], ours[0], ours[1], ours[2]),
              p != 0.0);
    const Gaps gaps = Apart(ours, exact, axes[0], p);
    EXPECT_TRUE(gaps.Within(kTenthMillimetre))
        << gaps.meridian << " " << gaps.parallel << " " << gaps.normal;
    if (Apart(proj, exact, axes[0], p).Within(kTenthMillimetre)) {
      ++proj_rows;
      EXPECT_TRUE(Apart(ours, proj, axes[0], p).Within(kTenthMillimetre));
    }

    double x = 0.0, y = 0.0, z = 0.0;
    GeogToCartesian(spheroid, ours[0], ours[1], ours[2], x, y, z);
    EXPECT_NEAR(x, xyz[0], kTenthMillimetre);
    EXPECT_NEAR(y, xyz[1], kTenthMillimetre);
    EXPECT_NEAR(z, xyz[2], kTenthMillimetre);
  }
  EXPECT_GT(proj_rows * 3, static_cast<int>(rows.size()) * 2) << "PROJ agrees below 100 km";
}

TEST(Cartesian, RunsGiveWhatSinglePointsGiveAndConvertInPlace) {
  const auto rows = testing::ReadTextTable("datum/cartesian_proj_reference.txt", 5);
  const CSpheroid spheroid = Spheroid(6378388.0, 297.0);
  std::vector<double> a, b, c;
  for (const testing::TextRow& row : rows) {
    a.push_back(row.Numbers(2)[0]);
    b.push_back(row.Numbers(2)[1]);
    c.push_back(row.Numbers(2)[2]);
  }
  const std::vector<double> xs = a, ys = b, zs = c;
  CartesianToGeogMany(spheroid, a, b, c, a, b, c);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    double latitude = 0.0, longitude = 0.0, height = 0.0;
    static_cast<void>(CartesianToGeog(spheroid, xs[i], ys[i], zs[i], latitude, longitude, height));
    EXPECT_EQ(a[i], latitude) << i;
    EXPECT_EQ(b[i], longitude) << i;
    EXPECT_EQ(c[i], height) << i;
  }
  const std::vector<double> latitudes = a, longitudes = b, heights = c;
  GeogToCartesianMany(spheroid, a, b, c, a, b, c);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    double x = 0.0, y = 0.0, z = 0.0;
    GeogToCartesian(spheroid, latitudes[i], longitudes[i], heights[i], x, y, z);
    EXPECT_EQ(a[i], x) << i;
    EXPECT_EQ(b[i], y) << i;
    EXPECT_EQ(c[i], z) << i;
  }
}

TEST(Cartesian, RoundTripsGeographicalPositionsToATenthOfAMillimetre) {
  const CSpheroid spheroid = Spheroid(6378137.0, 298.257223563);
  for (double degrees = -90.0; degrees <= 90.0; degrees += 0.75) {
    for (const double height : {-10000.0, 0.0, 2500.0, 400000.0, 35786000.0}) {
      const double start = degrees * kRadiansPerDegree;
      const double start_longitude = (degrees * 1.9 + 0.3) * kRadiansPerDegree;
      double x = 0.0, y = 0.0, z = 0.0;
      GeogToCartesian(spheroid, start, start_longitude, height, x, y, z);
      double latitude = 0.0, longitude = 0.0, back = 0.0;
      static_cast<void>(CartesianToGeog(spheroid, x, y, z, latitude, longitude, back));
      EXPECT_NEAR((latitude - start) * (6378137.0 + height), 0.0, kTenthMillimetre) << degrees;
      EXPECT_NEAR(back, height, kTenthMillimetre) << degrees << " " << height;
      EXPECT_NEAR(LongitudeGap(longitude, start_longitude) * std::hypot(x, y), 0.0,
                  kTenthMillimetre);
    }
  }
}

TEST(Cartesian, ASphereHasNoCartesianPositionAndLeavesTheGeographicalOnesAlone) {
  const CSpheroid sphere = Sphere();
  ASSERT_EQ(sphere.m_E2, 0.0);
  double x = 1.0, y = 2.0, z = 3.0;
  GeogToCartesian(sphere, 0.5, 0.5, 10.0, x, y, z);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(y, 0.0);
  EXPECT_EQ(z, 0.0);
  double latitude = 0.25, longitude = 0.5, height = 7.0;
  EXPECT_FALSE(CartesianToGeog(sphere, 4e6, 4e6, 3e6, latitude, longitude, height));
  EXPECT_EQ(latitude, 0.25);
  EXPECT_EQ(longitude, 0.5);
  EXPECT_EQ(height, 7.0);

  std::vector<double> a = {0.1, 0.2}, b = {0.3, 0.4}, c = {5.0, 6.0};
  CartesianToGeogMany(sphere, a, b, c, a, b, c);
  EXPECT_EQ(a, (std::vector<double>{0.1, 0.2}));
  EXPECT_EQ(c, (std::vector<double>{5.0, 6.0}));
  GeogToCartesianMany(sphere, a, b, c, a, b, c);
  EXPECT_EQ(a, (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(c, (std::vector<double>{0.0, 0.0}));
}

TEST(Cartesian, TheMeridiansOfXZeroTakeTheirOwnLongitudes) {
  const CSpheroid spheroid;
  double latitude = 0.0, longitude = 0.0, height = 0.0;
  EXPECT_TRUE(CartesianToGeog(spheroid, 0.0, 6378137.0, 0.0, latitude, longitude, height));
  EXPECT_EQ(longitude, kHalfPi);
  EXPECT_NEAR(height, 0.0, 1e-9);
  EXPECT_TRUE(CartesianToGeog(spheroid, 0.0, -6378137.0, 0.0, latitude, longitude, height));
  EXPECT_EQ(longitude, 4.71238898038469);
  EXPECT_TRUE(CartesianToGeog(spheroid, -0.0, -6378137.0, 10.0, latitude, longitude, height));
  EXPECT_EQ(longitude, 4.71238898038469);
  EXPECT_TRUE(CartesianToGeog(spheroid, -6378137.0, -0.0, 0.0, latitude, longitude, height));
  EXPECT_EQ(longitude, std::numbers::pi);
  // The centre: no meridian, no pole nearer than another.
  latitude = 1.0;
  EXPECT_FALSE(CartesianToGeog(spheroid, 0.0, 0.0, 0.0, latitude, longitude, height));
  EXPECT_EQ(longitude, 4.71238898038469);
  EXPECT_EQ(latitude, 0.0);
  EXPECT_EQ(height, -6378137.0);
}

// Within the evolute (about 43 km of the centre) a point lies on several normals: the
// one given must pass through it, at a latitude within the poles.
TEST(Cartesian, NearTheCentreGivesANormalThroughThePoint) {
  const CSpheroid spheroid;
  const double points[][3] = {{0.0, -1.0, 0.0}, {1.0, 0.0, 1.0},   {20000.0, 0.0, -100.0},
                              {3e4, 2e4, 0.0},  {1e-3, 0.0, -4e4}, {4e4, 1e3, 1e3}};
  for (const auto& point : points) {
    double latitude = 0.0, longitude = 0.0, height = 0.0;
    EXPECT_TRUE(
        CartesianToGeog(spheroid, point[0], point[1], point[2], latitude, longitude, height));
    EXPECT_LE(std::fabs(latitude), kHalfPi);
    double x = 0.0, y = 0.0, z = 0.0;
    GeogToCartesian(spheroid, latitude, longitude, height, x, y, z);
    EXPECT_NEAR(x, point[0], 1e-6) << point[0] << " " << point[2];
    EXPECT_NEAR(y, point[1], 1e-6);
    EXPECT_NEAR(z, point[2], 1e-6);
  }
}

TEST(Cartesian, PrimeVerticalRadiusIsZeroWhereTheRadicandIsNotPositive) {
  CSpheroid spheroid;
  EXPECT_EQ(PrimeVerticalRadius(spheroid, 0.0), 6378137.0);
  spheroid.m_E2 = 1.0;
  EXPECT_EQ(PrimeVerticalRadius(spheroid, kHalfPi), 0.0);
  spheroid.m_E2 = 2.0;
  EXPECT_EQ(PrimeVerticalRadius(spheroid, 1.0), 0.0);
}

TEST(Cartesian, InputThatIsNoNumberEndsWithoutAFiniteResult) {
  const CSpheroid spheroid;
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double cases[][3] = {{kNan, 1.0, 1.0},  {1.0, 1.0, kNan},   {kInf, 0.0, 0.0},
                             {1.0, 1.0, -kInf}, {kInf, kInf, kInf}, {1e300, 1e300, 1e300}};
  for (const auto& c : cases) {
    double latitude = 0.0, longitude = 0.0, height = 0.0;
    static_cast<void>(CartesianToGeog(spheroid, c[0], c[1], c[2], latitude, longitude, height));
    EXPECT_FALSE(std::isfinite(latitude) && std::isfinite(height)) << c[0] << " " << c[2];
  }
  double x = 0.0, y = 0.0, z = 0.0;
  GeogToCartesian(spheroid, kNan, 0.0, 0.0, x, y, z);
  EXPECT_TRUE(std::isnan(x) && std::isnan(z));
}

}  // namespace
}  // namespace orvale
