#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "orvale/engine/spheroid.h"
#include "orvale/engine/spheroid_catalogue.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

std::vector<double> DerivedFields(const CSpheroid& s) {
  return {s.m_E2,         s.m_E,
          s.m_HalfE,      s.m_PolarK,
          s.m_E1,         s.m_OneMinusE2,
          s.m_Ep2,        s.m_OnePlusEp2,
          s.m_A0,         s.m_A2,
          s.m_A4,         s.m_A6,
          s.m_MeridianA0, s.m_MeridianSlope0,
          s.m_FootE1,     s.m_Foot2,
          s.m_Foot4,      s.m_Foot6,
          s.m_Foot8};
}

// Every field, so "unchanged" means unchanged.
void ExpectSameRecord(const CSpheroid& actual, const CSpheroid& expected) {
  EXPECT_EQ(actual.m_FileTitle, expected.m_FileTitle);
  EXPECT_EQ(actual.m_Name, expected.m_Name);
  EXPECT_EQ(actual.m_Country, expected.m_Country);
  EXPECT_EQ(actual.m_SemiMajorAxis, expected.m_SemiMajorAxis);
  EXPECT_EQ(actual.m_SemiMinorAxis, expected.m_SemiMinorAxis);
  EXPECT_EQ(actual.m_InverseFlattening, expected.m_InverseFlattening);
  EXPECT_EQ(actual.m_DisplayName, expected.m_DisplayName);
  EXPECT_EQ(actual.m_Index, expected.m_Index);
  EXPECT_EQ(actual.m_EPSGNo, expected.m_EPSGNo);
  EXPECT_EQ(DerivedFields(actual), DerivedFields(expected));
  EXPECT_EQ(actual.m_RangeBearingMethod, expected.m_RangeBearingMethod);
}

double MeridianDistance(const CSpheroid& s, double latitude) {
  return s.m_SemiMajorAxis * (s.m_A0 * latitude - s.m_A2 * std::sin(2 * latitude) +
                              s.m_A4 * std::sin(4 * latitude) - s.m_A6 * std::sin(6 * latitude));
}

double FootpointLatitude(const CSpheroid& s, double mu) {
  return mu + s.m_Foot2 * std::sin(2 * mu) + s.m_Foot4 * std::sin(4 * mu) +
         s.m_Foot6 * std::sin(6 * mu) + s.m_Foot8 * std::sin(8 * mu);
}

TEST(Spheroid, StartsAsWgs84) {
  const CSpheroid s;
  EXPECT_EQ(s.m_Name, "WGS84");
  EXPECT_EQ(s.m_Index, 26);
  EXPECT_EQ(s.m_EPSGNo, 7030u);
  EXPECT_EQ(s.m_SemiMajorAxis, 6378137.0);
  EXPECT_EQ(s.m_RangeBearingMethod, 0u);
  EXPECT_TRUE(s.m_FileTitle.empty());
}

TEST(Spheroid, DerivesTheWgs84EccentricityByTheStatedExpression) {
  const CSpheroid s;
  const double rf = 298.257223563;
  EXPECT_EQ(s.m_E2, 2 / rf - 1 / (rf * rf));
  EXPECT_NEAR(s.m_E2, 0.00669437999014, 1e-14);
  EXPECT_EQ(s.m_E, std::sqrt(s.m_E2));
  // Independent forms: third flattening n = f/(2-f), e'^2 = e^2/(1-e^2), and
  // ln k = ((1+e)ln(1+e) + (1-e)ln(1-e))/2 for the polar stereographic constant.
  const double f = 1 / rf;
  EXPECT_NEAR(s.m_E1, f / (2 - f), 1e-15);
  EXPECT_NEAR(s.m_Ep2, s.m_E2 / s.m_OneMinusE2, 1e-15);
  const double e = s.m_E;
  EXPECT_NEAR(std::log(s.m_PolarK), 0.5 * ((1 + e) * std::log1p(e) + (1 - e) * std::log1p(-e)),
              1e-15);
}

// Meridian arcs from the equator by GeographicLib's GeodSolve -i (exact geodesics).
TEST(Spheroid, MeridianSeriesMatchesExactArcsToTheMillimetre) {
  struct Case {
    int row;
    double latitude_degrees;
    double arc_metres;
  };
  const Case cases[] = {
      {26, 90.0, 10001965.729313},
      {26, 30.0, 3320113.397940},
      {0, 90.0, 10001126.081590},
      {12, 90.0, 10001867.627648},
  };
  for (const Case& c : cases) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(c.row));
    EXPECT_NEAR(MeridianDistance(s, c.latitude_degrees * kDegree), c.arc_metres, 0.001)
        << "row " << c.row << " at " << c.latitude_degrees;
    if (c.latitude_degrees == 90.0) {
      EXPECT_NEAR(s.m_MeridianA0 * std::numbers::pi / 2, c.arc_metres, 0.001);
    }
    // At the equator the arc grows as the meridian radius of curvature a(1 - e^2).
    EXPECT_NEAR(s.m_MeridianSlope0, s.m_OneMinusE2, 1e-10);
  }
}

TEST(Spheroid, FootpointSeriesInvertsTheMeridianSeries) {
  for (int row : {0, 12, 26, 31}) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(row));
    for (double degrees = -89.0; degrees <= 89.0; degrees += 8.9) {
      const double latitude = degrees * kDegree;
      const double mu = MeridianDistance(s, latitude) / s.m_MeridianA0;
      EXPECT_NEAR(FootpointLatitude(s, mu), latitude, 5e-10) << "row " << row << " at " << degrees;
    }
  }
}

TEST(Spheroid, GivesZerosForANonPositiveInverseFlattening) {
  for (double rf : {0.0, -1.0, -298.257223563, std::numeric_limits<double>::quiet_NaN()}) {
    CSpheroid s;
    s.m_InverseFlattening = rf;
    s.ComputeConstants();
    for (double value : DerivedFields(s))
      EXPECT_EQ(value, 0.0) << "1/f = " << rf;
  }
}

TEST(Spheroid, TreatsSphereRowsAsSpheres) {
  std::set<int> spheres;
  for (int row = 0; row < kBuiltInSpheroidCount; ++row) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(row));
    for (double value : DerivedFields(s))
      EXPECT_TRUE(std::isfinite(value)) << "row " << row;
    if (s.m_InverseFlattening != 1.0) continue;
    spheres.insert(row);
    EXPECT_EQ(s.m_SemiMinorAxis, s.m_SemiMajorAxis) << "row " << row;
    EXPECT_EQ(s.m_E2, 0.0);
    EXPECT_EQ(s.m_E, 0.0);
    EXPECT_EQ(s.m_OneMinusE2, 1.0);
    EXPECT_EQ(s.m_PolarK, 1.0);
    EXPECT_EQ(s.m_MeridianA0, s.m_SemiMajorAxis);
    EXPECT_EQ(s.m_MeridianSlope0, 1.0);
    EXPECT_EQ(s.m_Foot2, 0.0);
  }
  EXPECT_EQ(spheres, (std::set<int>{31, 39, 40, 44, 49, 51}));
}

// A data-entry check: each row's stored b should be a(1 - 1/f) of its own a and 1/f.
TEST(SpheroidCatalogue, StoresPolarAxesConsistentWithTheFlattening) {
  std::set<std::uint32_t> codes;
  for (const SpheroidRow& row : BuiltInSpheroids()) {
    EXPECT_TRUE(codes.insert(row.epsg).second) << "EPSG " << row.epsg << " twice";
    if (row.inverse_flattening == 1.0) continue;
    const double derived = row.semi_major_axis * (1 - 1 / row.inverse_flattening);
    EXPECT_NEAR(row.semi_minor_axis, derived, 1e-6) << row.name << " " << row.country;
  }
}

TEST(Spheroid, SetAxesReplacesImplausibleFlatteningsBy297) {
  struct Case {
    double given;
    double kept;
  };
  const Case cases[] = {{1.0, 297.0},
                        {0.0, 297.0},
                        {289.999, 297.0},
                        {290.0, 290.0},
                        {310.0, 310.0},
                        {310.0001, 297.0},
                        {298.257223563, 298.257223563},
                        {-300.0, 297.0},
                        {std::numeric_limits<double>::quiet_NaN(), 297.0}};
  for (const Case& c : cases) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(12));
    s.SetAxes(6378137.0, c.given);
    EXPECT_EQ(s.m_InverseFlattening, c.kept) << "given " << c.given;
    EXPECT_EQ(s.m_SemiMajorAxis, 6378137.0);
    EXPECT_EQ(s.m_SemiMinorAxis, 6378137.0 * (1 - 1 / c.kept));
    EXPECT_EQ(s.m_E2, 2 / c.kept - 1 / (c.kept * c.kept));
    EXPECT_EQ(s.m_Name, "Clarke 1880 (Arc)");
    EXPECT_EQ(s.m_Country, "South African");
    EXPECT_EQ(s.m_Index, 12);
    EXPECT_EQ(s.m_EPSGNo, 7013u);
  }
}

TEST(Spheroid, SetBuiltInLoadsOnlyCatalogueRowsAndKeepsTheFileTitle) {
  CSpheroid s;
  s.m_FileTitle = "Mine";
  s.m_RangeBearingMethod = 1;
  ASSERT_TRUE(s.SetBuiltIn(5));
  EXPECT_EQ(s.m_Name, "Bessel (Namibia)");
  EXPECT_EQ(s.m_Index, 5);
  EXPECT_EQ(s.m_FileTitle, "Mine");
  EXPECT_EQ(s.m_RangeBearingMethod, 1u);
  const CSpheroid before = s;
  for (int index : {53, 54, -1, 1000}) {
    EXPECT_FALSE(s.SetBuiltIn(index)) << index;
    ExpectSameRecord(s, before);
  }
}

// A search that misses the built-in rows goes on to the record folder, so these run
// on drives of their own.
class SpheroidSearch : public testing::TemporaryDrives {};

TEST_F(SpheroidSearch, FollowsTheCatalogueRules) {
  struct Case {
    const char* name;
    const char* country;
    int row;  // -1: not found
  };
  const Case cases[] = {
      {"WGS84", "", 26},
      {"WGS84", "anything at all", 26},
      {"Airy 1830", "OSGB", 0},
      {"Airy 1830", "", -1},
      {"airy 1830", "OSGB", -1},
      {"Bessel (Namibia)", "", 5},
      {"Bessel (GLM)", "Namibia", 38},
      {"Clarke 1866 (code 7008)", "Authalic Sphere", 39},
      {"CGCS2000", "China", 52},
      {"Nowhere 2024", "", -1},
  };
  for (const Case& c : cases) {
    CSpheroid s;
    EXPECT_EQ(s.FindByName(c.name, c.country), c.row >= 0) << c.name << " / " << c.country;
    if (c.row < 0) continue;
    CSpheroid expected;
    expected.SetBuiltIn(c.row);
    ExpectSameRecord(s, expected);
  }
}

TEST_F(SpheroidSearch, LeavesAnEmptySpheroidWhenNothingMatches) {
  CSpheroid s;
  s.m_FileTitle = "Own file";
  EXPECT_FALSE(s.FindByName("Airy 1830", ""));
  EXPECT_TRUE(s.m_Name.empty());
  EXPECT_TRUE(s.m_Country.empty());
  EXPECT_EQ(s.m_SemiMajorAxis, 0.0);
  EXPECT_EQ(s.m_SemiMinorAxis, 0.0);
  EXPECT_EQ(s.m_InverseFlattening, 297.0);
  EXPECT_EQ(s.m_MeridianA0, 0.0);
  EXPECT_EQ(s.m_EPSGNo, 0u);
  EXPECT_EQ(s.m_Index, -1);
  EXPECT_EQ(s.m_FileTitle, "Own file");
}

TEST_F(SpheroidSearch, WithoutArgumentsLooksForTheRecordsOwnTexts) {
  CSpheroid s;
  s.m_Name = "Airy 1830";
  s.m_Country = "OSGB";
  EXPECT_TRUE(s.FindByName());
  EXPECT_EQ(s.m_Index, 0);
  EXPECT_EQ(s.m_SemiMajorAxis, 6377563.39635);

  s.m_Name = "Typed by hand";
  s.m_Country = "Here";
  EXPECT_FALSE(s.FindByName());
  EXPECT_EQ(s.m_Name, "Typed by hand");
  EXPECT_EQ(s.m_Country, "Here");
  EXPECT_EQ(s.m_SemiMajorAxis, 0.0);
}

TEST(Spheroid, AssignmentCopiesValuesButKeepsTheTargetsIndex) {
  CSpheroid source;
  ASSERT_TRUE(source.SetBuiltIn(12));
  source.m_FileTitle = "Arc";
  source.m_RangeBearingMethod = 1;
  CSpheroid target;
  target.m_DisplayName = "WGS84";
  target = source;
  EXPECT_EQ(target.m_Index, 26);
  EXPECT_EQ(target.m_DisplayName, "WGS84");
  target.m_Index = source.m_Index;
  target.m_DisplayName = source.m_DisplayName;
  ExpectSameRecord(target, source);

  const CSpheroid constructed(source);
  EXPECT_EQ(constructed.m_Index, 12);
  ExpectSameRecord(constructed, source);
}

TEST(Spheroid, IsSameComparesNameAndCountryExactly) {
  struct Case {
    const char* name;
    const char* country;
    bool same_as_airy;
  };
  const Case cases[] = {{"Airy 1830", "OSGB", true},
                        {"Airy 1830", "", false},
                        {"Airy 1830", "osgb", false},
                        {"Airy 1830 ", "OSGB", false}};
  CSpheroid airy;
  ASSERT_TRUE(airy.SetBuiltIn(0));
  for (const Case& c : cases) {
    CSpheroid other;
    other.m_Name = c.name;
    other.m_Country = c.country;
    EXPECT_EQ(airy.IsSame(other), c.same_as_airy) << c.name << " / " << c.country;
  }
  CSpheroid no_country;
  no_country.m_Country.clear();
  EXPECT_TRUE(no_country.IsSame(CSpheroid()));
}

}  // namespace
}  // namespace orvale
