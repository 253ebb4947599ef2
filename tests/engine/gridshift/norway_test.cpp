// The Norwegian band method: the polynomial against exactly summed terms, the fixed
// Helmert against PROJ, each band against PROJ's steps both ways, round trips, the
// datum's own sense, the blend at the band edges and a missing target.

#include "orvale/engine/gridshift/norway.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "engine/datum/datum_fixture.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/helmert.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using Band = decltype(&NorwegianSouth);
const std::map<std::string, Band> kBands = {
    {"south", NorwegianSouth}, {"north", NorwegianNorth}, {"blend", NorwegianBlend}};

using Position = std::array<double, 3>;  // latitude, longitude (radians), height

Position Shift(Band band, const CDatum& datum, int direction, const Position& in) {
  Position out{};
  band(datum, out[0], out[1], out[2], direction, in[0], in[1], in[2]);
  return out;
}

Position FromDegrees(const std::vector<double>& v) {
  return {v[0] * kRadiansPerDegree, v[1] * kRadiansPerDegree, v.size() > 2 ? v[2] : 0.0};
}

// Within `horizontal` metres north and east and `height` metres up.
void ExpectWithin(const Position& a, const Position& b, double horizontal, double height) {
  constexpr double kRadius = 6.4e6;  // near enough to judge millimetres
  EXPECT_LE(std::fabs(a[0] - b[0]) * kRadius, horizontal) << "north";
  EXPECT_LE(std::fabs(a[1] - b[1]) * kRadius * std::cos(a[0]), horizontal) << "east";
  EXPECT_LE(std::fabs(a[2] - b[2]), height) << "up";
}

// The catalogue's band-method entry, WGS 84 to ED50, loaded in `direction`.
struct NorwegianDatum : testing::AttachedDatum {
  explicit NorwegianDatum(int direction = 1) {
    EXPECT_TRUE(datum.SetFromCatalogue(3, 0, direction));
  }
};

TEST(NorwegianPolynomial, ShiftsByTheExactlySummedTermsBothWays) {
  for (const auto& row : testing::ReadTextTable("gridshift/norway_polynomial.txt", 3)) {
    SCOPED_TRACE(row.where);
    const Position in = FromDegrees(row.Numbers(0));
    const std::vector<double> shift = row.Numbers(1);
    for (const int sign : {1, -1}) {
      double latitude = 0.0, longitude = 0.0;
      NorwegianPolynomial(latitude, longitude, sign, in[0], in[1]);
      // 1e-12 degree is 0.1 µm; the shifts are 1e-5 degree and more.
      EXPECT_NEAR((latitude - in[0]) * kDegreesPerRadian, sign * shift[0], 1e-12);
      EXPECT_NEAR((longitude - in[1]) * kDegreesPerRadian, sign * shift[1], 1e-12);
    }
  }
}

TEST(NorwegianFixedHelmert, AgreesWithProjAndWithTheLibrarysHelmertStep) {
  const DatumShiftParameters p{
      1.51, 0.84, 3.5, 0.3904592782258739, 0.14170392189179892, 0.5701159244671503, -0.609};
  for (const auto& row : testing::ReadTextTable("gridshift/norway_fixed_helmert.txt", 3)) {
    SCOPED_TRACE(row.where);
    const int sign = std::stoi(row[0]);
    const std::vector<double> in = row.Numbers(1), expected = row.Numbers(2);
    std::array<double, 3> out = {in[0], in[1], in[2]}, step{};
    NorwegianFixedHelmert(sign, out[0], out[1], out[2], out[0], out[1], out[2]);  // in place
    HelmertTransform(p, sign, in[0], in[1], in[2], step[0], step[1], step[2]);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(out[i], expected[i], 1e-4);
      EXPECT_NEAR(out[i], step[i], 1e-8);  // the scale factor may differ in its last bit
    }
  }
}

// Forward then reverse misses the start by second-order terms: the reverse Helmert is
// the forward one with its values negated, and the polynomial is taken off where it
// lands. For this entry that is 0.11 mm at most (rotation or scale times the 170 m
// translation); a first-order fault is metres.
//
// The entry loaded the other way round (ED50 own, WGS 84 target, m_Direction -1) does
// in each direction what the stored entry does in the other, the polynomial and the
// fixed Helmert taking their sign from m_Direction. It runs the steps in the opposite
// order, which costs the fixed rotation times that translation (0.6 mm at most here),
// and the blend weighs on the other side of the entry's Helmert (2.1 mm at most).
TEST(NorwegianBands, AgreeWithProjBothWaysReturnAndFollowTheDatumsDirection) {
  const NorwegianDatum forward(1), reversed(-1);
  for (const auto& row : testing::ReadTextTable("gridshift/norway_bands.txt", 4)) {
    SCOPED_TRACE(row.where);
    const Band band = kBands.at(row[0]);
    const int direction = std::stoi(row[1]);
    const Position in = FromDegrees(row.Numbers(2));
    const Position out = Shift(band, forward.datum, direction, in);
    ExpectWithin(out, FromDegrees(row.Numbers(3)), 1e-4, 1e-4);
    ExpectWithin(Shift(band, forward.datum, -direction, out), in, 5e-4, 5e-4);
    const double sense = row[0] == "blend" ? 3e-3 : 1e-3;
    ExpectWithin(Shift(band, reversed.datum, -direction, in), out, sense, sense);
  }
}

// Longitudes across the offshore sector the method is for; east of about 12°E the
// polynomial at 62°N grows past 10 m, and the gaps below with it.
constexpr std::array<double, 4> kEdgeLongitudes = {-3.0, 0.0, 5.0, 10.0};

// Back from ED50 the weight is 0 exactly at 62°. From WGS 84 the band is chosen by the
// WGS 84 latitude but weighed after the entry's own Helmert, 2" further north: 1.5e-4
// of the difference between the edge shifts, at most 0.8 mm. The same 2" leave the
// blend 0.7 mm from the north method at 65°, where back from ED50 they meet to 2 µm.
// There the blend's height lacks the fixed Helmert's change of height (-0.1 m to
// +0.02 m along the edge), which the north method has.
TEST(NorwegianBands, TheBlendIsTheSouthMethodAt62AndMeetsTheNorthMethodAt65) {
  const NorwegianDatum d;
  const CSpheroid& international = d.target;
  for (const double degrees : kEdgeLongitudes) {
    const double longitude = degrees * kRadiansPerDegree;
    SCOPED_TRACE(degrees);
    const Position south = {kNorwaySouthEdge, longitude, 35.0};
    EXPECT_EQ(Shift(NorwegianBlend, d.datum, -1, south), Shift(NorwegianSouth, d.datum, -1, south));
    ExpectWithin(Shift(NorwegianBlend, d.datum, 1, south), Shift(NorwegianSouth, d.datum, 1, south),
                 1e-3, 0.0);

    const Position north = {kNorwayNorthEdge, longitude, 35.0};
    Position fixed{};
    double x = 0.0, y = 0.0, z = 0.0;
    GeogToCartesian(international, north[0], north[1], north[2], x, y, z);
    NorwegianFixedHelmert(1, x, y, z, x, y, z);
    ASSERT_TRUE(CartesianToGeog(international, x, y, z, fixed[0], fixed[1], fixed[2]));
    for (const int direction : {1, -1}) {
      const Position blend = Shift(NorwegianBlend, d.datum, direction, north);
      const Position by_north = Shift(NorwegianNorth, d.datum, direction, north);
      ExpectWithin(blend, by_north, direction == 1 ? 1e-3 : 1e-5, 0.2);
      EXPECT_NEAR(by_north[2] - blend[2], direction * (fixed[2] - north[2]), 1e-3);
    }
  }
}

TEST(NorwegianBands, GiveZerosWithoutATargetSpheroid) {
  CDatum datum;
  ASSERT_TRUE(datum.SetFromCatalogue(3, 0, 1));
  for (const auto& [name, band] : kBands) {
    for (const int direction : {1, -1}) {
      Position out = {1.0, 1.0, 1.0};
      band(datum, out[0], out[1], out[2], direction, 1.1, 0.1, 10.0);
      EXPECT_EQ(out, Position{}) << name << " " << direction;
    }
  }
}

}  // namespace
}  // namespace orvale
