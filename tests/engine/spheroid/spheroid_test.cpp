#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every derived constant (ordered to fit the page).
std::vector<double> DerivedFields(const CSpheroid& s) {
  return {s.m_E2,    s.m_E,     s.m_HalfE,  s.m_PolarK,    s.m_MeridianSlope0,
          s.m_E1,    s.m_Ep2,   s.m_A0,     s.m_A2,        s.m_OneMinusE2,
          s.m_A4,    s.m_A6,    s.m_FootE1, s.m_Foot2,     s.m_OnePlusEp2,
          s.m_Foot4, s.m_Foot6, s.m_Foot8,  s.m_MeridianA0};
}

// Every field, so "unchanged" means unchanged.
auto Record(const CSpheroid& s) {
  return std::tuple(s.m_FileTitle, s.m_Name, s.m_Country, s.m_SemiMajorAxis, s.m_SemiMinorAxis,
                    s.m_InverseFlattening, s.m_DisplayName, s.m_Index, s.m_EPSGNo, DerivedFields(s),
                    s.m_RangeBearingMethod);
}

CSpheroid BuiltIn(int row) {
  CSpheroid s;
  EXPECT_TRUE(s.SetBuiltIn(row)) << row;
  return s;
}

TEST(Spheroid, StartsAsWgs84WithTheEccentricityOfTheStatedExpression) {
  const CSpheroid s;
  EXPECT_EQ(std::tie(s.m_Name, s.m_Index, s.m_EPSGNo, s.m_SemiMajorAxis, s.m_RangeBearingMethod),
            std::tuple("WGS84", 26, 7030u, 6378137.0, 0u));
  EXPECT_TRUE(s.m_FileTitle.empty());
  const double rf = 298.257223563;
  EXPECT_EQ(s.m_E2, 2 / rf - 1 / (rf * rf));
  EXPECT_NEAR(s.m_E2, 0.00669437999014, 1e-14);
  EXPECT_EQ(s.m_E, std::sqrt(s.m_E2));
  // Independent forms: n = f/(2-f), e'^2 = e^2/(1-e^2), and the polar stereographic
  // ln k = ((1+e)ln(1+e) + (1-e)ln(1-e))/2.
  const double f = 1 / rf, e = s.m_E;
  EXPECT_NEAR(s.m_E1, f / (2 - f), 1e-15);
  EXPECT_NEAR(s.m_Ep2, s.m_E2 / s.m_OneMinusE2, 1e-15);
  EXPECT_NEAR(std::log(s.m_PolarK), 0.5 * ((1 + e) * std::log1p(e) + (1 - e) * std::log1p(-e)),
              1e-15);
}

// The meridian series of the coefficients against exact arcs, and the footpoint series
// of the other coefficients as its inverse.
TEST(Spheroid, MeridianSeriesMatchesExactArcsAndTheFootpointSeriesInvertsIt) {
  for (const testing::TextRow& arc : testing::ReadTextTable("spheroid/meridian_arcs.txt", 3)) {
    const CSpheroid s = BuiltIn(std::stoi(arc.fields[0]));
    const double degrees = arc.Numbers(1).at(0), metres = arc.Numbers(2).at(0);
    EXPECT_NEAR(MeridianDistance(s, degrees * kDegree), metres, 0.001) << arc.where;
    if (degrees == 90.0) {  // the quarter meridian by the series' own constant
      EXPECT_NEAR(s.m_MeridianA0 * std::numbers::pi / 2, metres, 0.001) << arc.where;
    }
  }
  for (int row : {0, 12, 26, 31}) {
    const CSpheroid s = BuiltIn(row);
    // At the equator the arc grows as the meridian radius of curvature a(1 - e^2).
    EXPECT_NEAR(s.m_MeridianSlope0, s.m_OneMinusE2, 1e-10) << row;
    for (double degrees = -89.0; degrees <= 89.0; degrees += 8.9) {
      const double latitude = degrees * kDegree;
      const double mu = MeridianDistance(s, latitude) / s.m_MeridianA0;
      EXPECT_NEAR(FootpointSeries(s, mu), latitude, 5e-10) << "row " << row << " at " << degrees;
    }
  }
}

TEST(Spheroid, GivesZerosForANonPositiveInverseFlattening) {
  for (double rf : {0.0, -1.0, -298.257223563, kNaN}) {
    CSpheroid s;
    s.m_InverseFlattening = rf;
    s.ComputeConstants();
    EXPECT_EQ(DerivedFields(s), std::vector<double>(19, 0.0)) << "1/f = " << rf;
  }
}

TEST(SpheroidCatalogue, HoldsConsistentRowsAndItsSphereRowsAreSpheres) {
  std::set<int> spheres;
  std::set<std::uint32_t> codes;
  for (int row = 0; row < kBuiltInSpheroidCount; ++row) {
    const SpheroidRow& data = BuiltInSpheroids()[static_cast<std::size_t>(row)];
    EXPECT_TRUE(codes.insert(data.epsg).second) << "EPSG " << data.epsg << " twice";
    const CSpheroid s = BuiltIn(row);
    for (double value : DerivedFields(s))
      EXPECT_TRUE(std::isfinite(value)) << "row " << row;
    if (data.inverse_flattening != 1.0) {
      // A data-entry check: the stored b should be a(1 - 1/f) of the row's own a and 1/f.
      const double derived = data.semi_major_axis * (1 - 1 / data.inverse_flattening);
      EXPECT_NEAR(data.semi_minor_axis, derived, 1e-6) << data.name << " " << data.country;
      continue;
    }
    spheres.insert(row);
    EXPECT_EQ(s.m_SemiMinorAxis, s.m_SemiMajorAxis) << "row " << row;
    EXPECT_EQ(s.m_MeridianA0, s.m_SemiMajorAxis) << "row " << row;
    EXPECT_EQ(
        (std::vector{s.m_E2, s.m_E, s.m_OneMinusE2, s.m_PolarK, s.m_MeridianSlope0, s.m_Foot2}),
        (std::vector{0.0, 0.0, 1.0, 1.0, 1.0, 0.0}))
        << "row " << row;
  }
  EXPECT_EQ(spheres, (std::set<int>{31, 39, 40, 44, 49, 51}));
}

TEST(Spheroid, SetAxesReplacesImplausibleFlatteningsBy297) {
  const double cases[][2] = {{1.0, 297.0},    {0.0, 297.0},   {289.999, 297.0},
                             {290.0, 290.0},  {310.0, 310.0}, {310.0001, 297.0},
                             {-300.0, 297.0}, {kNaN, 297.0},  {298.257223563, 298.257223563}};
  for (const auto& [given, kept] : cases) {
    CSpheroid s = BuiltIn(12);
    s.SetAxes(6378137.0, given);
    EXPECT_EQ(s.m_InverseFlattening, kept) << "given " << given;
    EXPECT_EQ(s.m_SemiMajorAxis, 6378137.0);
    EXPECT_EQ(s.m_SemiMinorAxis, 6378137.0 * (1 - 1 / kept));
    EXPECT_EQ(s.m_E2, 2 / kept - 1 / (kept * kept));
    EXPECT_EQ(std::tie(s.m_Name, s.m_Country, s.m_Index, s.m_EPSGNo),
              std::tuple("Clarke 1880 (Arc)", "South African", 12, 7013u));
  }
}

TEST(Spheroid, SetBuiltInLoadsOnlyCatalogueRowsAndKeepsTheFileTitle) {
  CSpheroid s;
  s.m_FileTitle = "Mine";
  s.m_RangeBearingMethod = 1;
  ASSERT_TRUE(s.SetBuiltIn(5));
  EXPECT_EQ(std::tie(s.m_Name, s.m_Index, s.m_FileTitle, s.m_RangeBearingMethod),
            std::tuple("Bessel (Namibia)", 5, "Mine", 1u));
  const CSpheroid before = s;
  for (int index : {53, 54, -1, 1000}) {
    EXPECT_FALSE(s.SetBuiltIn(index)) << index;
    EXPECT_EQ(Record(s), Record(before));
  }
}

// A search that misses the built-in rows goes on to the record folder, so these run
// on drives of their own.
class SpheroidSearch : public testing::TemporaryDrives {};

TEST_F(SpheroidSearch, FollowsTheCatalogueRules) {
  for (const testing::TextRow& c : testing::ReadTextTable("spheroid/name_search.txt", 3)) {
    SCOPED_TRACE(c.where);
    CSpheroid s;
    EXPECT_EQ(s.FindByName(c[0], c[1]), c[2] != "-");
    if (c[2] != "-") {
      EXPECT_EQ(Record(s), Record(BuiltIn(std::stoi(c[2]))));
    }
  }
}

TEST_F(SpheroidSearch, LeavesAnEmptySpheroidUnlessItSearchedForTheRecordsOwnTexts) {
  CSpheroid s;
  s.m_FileTitle = "Own file";
  EXPECT_FALSE(s.FindByName("Airy 1830", ""));
  EXPECT_EQ(std::tie(s.m_Name, s.m_Country, s.m_SemiMajorAxis, s.m_SemiMinorAxis,
                     s.m_InverseFlattening, s.m_MeridianA0, s.m_EPSGNo, s.m_Index, s.m_FileTitle),
            std::tuple("", "", 0.0, 0.0, 297.0, 0.0, 0u, -1, "Own file"));
  s.m_Name = "Airy 1830";
  s.m_Country = "OSGB";
  EXPECT_TRUE(s.FindByName());
  EXPECT_EQ(std::tie(s.m_Index, s.m_SemiMajorAxis), std::tuple(0, 6377563.39635));
  s.m_Name = "Typed by hand";
  s.m_Country = "Here";
  EXPECT_FALSE(s.FindByName());
  EXPECT_EQ(std::tie(s.m_Name, s.m_Country, s.m_SemiMajorAxis),
            std::tuple("Typed by hand", "Here", 0.0));
}

TEST(Spheroid, AssignmentCopiesValuesButKeepsTheTargetsIndex) {
  CSpheroid source = BuiltIn(12), target;
  source.m_FileTitle = "Arc";
  source.m_RangeBearingMethod = 1;
  target.m_DisplayName = "WGS84";
  target = source;
  EXPECT_EQ(std::tie(target.m_Index, target.m_DisplayName), std::tuple(26, "WGS84"));
  target.m_Index = source.m_Index;
  target.m_DisplayName = source.m_DisplayName;
  EXPECT_EQ(Record(target), Record(source));
  EXPECT_EQ(Record(CSpheroid(source)), Record(source)) << "a copy is the same entry, index and all";
}

TEST(Spheroid, IsSameComparesNameAndCountryExactly) {
  const std::tuple<const char*, const char*, bool> cases[] = {{"Airy 1830", "OSGB", true},
                                                              {"Airy 1830", "", false},
                                                              {"Airy 1830", "osgb", false},
                                                              {"Airy 1830 ", "OSGB", false}};
  for (const auto& [name, country, same_as_airy] : cases) {
    CSpheroid other;
    other.m_Name = name;
    other.m_Country = country;
    EXPECT_EQ(BuiltIn(0).IsSame(other), same_as_airy) << name << " / " << country;
  }
}

}  // namespace
}  // namespace orvale
