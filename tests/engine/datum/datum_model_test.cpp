// The datum record: its start, display name, reset, copy, and the exchange of its two
// sides that loads an entry in reverse.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "datum_fixture.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/projection/projection_types.h"

namespace orvale {
namespace {

using testing::AttachedDatum;
using testing::Definition;
using testing::kAiry1830;
using testing::kInternational;
using testing::kWgs84;
using testing::Seven;
using testing::SpheroidRow;
using testing::Values;

auto ProjectionKey(const CProjection& p) {
  return std::tuple(p.m_Name, p.m_Country, p.m_Type, p.m_Method, p.m_FalseNorthing);
}

TEST(Datum, StartsAsNoShiftOnUtmZone31North) {
  CDatum d;
  EXPECT_EQ(std::tie(d.m_ShiftType, d.m_Direction, d.m_Number), std::tuple(0, 1, 0));
  EXPECT_EQ(d.m_Spheroid.m_Index, kWgs84);
  EXPECT_EQ(d.m_Projection.m_Spheroid, &d.m_Spheroid);
  EXPECT_EQ(std::tie(d.m_Projection.m_Type, d.m_Projection.m_Zone, d.m_Projection.m_Name),
            std::tuple(PROJECTION_UTM, 31, "Grid Zone 31 (3\xB0 E)"));
  EXPECT_EQ(d.m_TargetSpheroid, nullptr);
  EXPECT_EQ(d.m_TargetProjection, nullptr);
  EXPECT_EQ(Values(d.m_Shift), Values(DatumShiftParameters{}));
  EXPECT_EQ(d.m_Shift.m_UseEpoch, 1);
  EXPECT_EQ(std::tie(d.m_Grid.m_GridScaleE, d.m_Grid.m_GridScaleN), std::tuple(1.0, 1.0));
  // The OSTN15 step's own grid: the catalogue's OSGRS80 Grid, on GRS80.
  EXPECT_EQ(d.m_SecondProjection.m_Spheroid, &d.m_SecondSpheroid);
  EXPECT_EQ(d.m_SecondProjection.m_Name, "OSGRS80 Grid");
  EXPECT_EQ(d.m_SecondSpheroid.m_Name, "GRS80");
  EXPECT_TRUE(d.m_FileTitle.empty() && d.GetName().empty());
}

TEST(Datum, NamesItselfWithAndWithoutAVariant) {
  const std::tuple<int, const char*, const char*, const char*, const char*> cases[] = {
      {0, "Airy 1830", "Airy 1830", "Grid To Grid", "Airy 1830 (Grid To Grid)"},
      {0, "Airy 1830", "Airy 1830", "", "Airy 1830"},
      {1, "WGS 84", "E.D. 50", "UKOOA Recommended", "WGS 84 to E.D. 50 (UKOOA Recommended)"},
      {7, "WGS 84", "Local", "", "WGS 84 to Local"},
      {9, "", "", "", " to "}};
  for (const auto& [type, from, to, status, name] : cases) {
    CDatum d;
    d.m_ShiftType = type;
    d.m_FromName = from;
    d.m_ToName = to;
    d.m_ShiftStatus = status;
    EXPECT_EQ(d.GetName(), name);
    EXPECT_EQ(d.m_DisplayName, name);
  }
  CDatum d;
  ASSERT_TRUE(d.SetFromCatalogue(kWgs84Shifts, 7, 1));
  EXPECT_EQ(d.GetName(), "WGS 84 to E.D. 87") << "entry 7 has no variant";
}

TEST(Datum, ReversesAnEntryWithItsSpheroidsAndProjections) {
  AttachedDatum forward;
  // The target side is the North Sea grid on International; the own side UTM 31 south.
  ASSERT_TRUE(forward.target_projection.SetFromCatalogue(4, PROJECTION_TRANSVERSE_MERCATOR, 0));
  ASSERT_TRUE(forward.datum.m_Projection.SetFromCatalogue(31, PROJECTION_UTM, 1));
  const auto own_projection = ProjectionKey(forward.datum.m_Projection);
  const auto target_projection = ProjectionKey(forward.target_projection);
  ASSERT_TRUE(forward.datum.SetFromCatalogue(kWgs84Shifts, 2, 1));
  EXPECT_EQ(forward.datum.GetName(), "WGS 84 to E.D. 50 (UKOOA Recommended)");
  EXPECT_EQ(Definition(forward.datum.m_Spheroid), Definition(SpheroidRow(kWgs84)));
  EXPECT_EQ(Definition(forward.target), Definition(SpheroidRow(kInternational)));

  forward.datum.Reverse();
  const CDatum& d = forward.datum;
  EXPECT_EQ(forward.datum.GetName(), "E.D. 50 to WGS 84 (UKOOA Recommended)");
  EXPECT_EQ(Definition(d.m_Spheroid), Definition(SpheroidRow(kInternational)));
  EXPECT_EQ(Definition(forward.target), Definition(SpheroidRow(kWgs84)));
  EXPECT_EQ(Seven(d.m_Shift), (std::array{-89.5, -93.8, -123.1, -0.0, -0.0, -0.156, 1.2}));
  // Each projection is the other's row again, set up on its new spheroid; the UTM zone
  // keeps its hemisphere.
  EXPECT_EQ(ProjectionKey(d.m_Projection), target_projection);
  EXPECT_EQ(ProjectionKey(forward.target_projection), own_projection);
  EXPECT_EQ(d.m_Projection.m_Spheroid, &d.m_Spheroid);
  EXPECT_EQ(d.m_Projection.m_Nu0, CProjection(d.m_Projection).m_Nu0);

  AttachedDatum reversed;
  ASSERT_TRUE(reversed.target_projection.SetFromCatalogue(4, PROJECTION_TRANSVERSE_MERCATOR, 0));
  ASSERT_TRUE(reversed.datum.m_Projection.SetFromCatalogue(31, PROJECTION_UTM, 1));
  ASSERT_TRUE(reversed.datum.SetFromCatalogue(kWgs84Shifts, 2, -1));
  EXPECT_EQ(reversed.datum.m_Direction, -1);
  EXPECT_EQ(reversed.datum.GetName(), d.m_DisplayName);
  EXPECT_EQ(Values(reversed.datum.m_Shift), Values(d.m_Shift));
  EXPECT_EQ(ProjectionKey(reversed.datum.m_Projection), target_projection);
}

// A projection the catalogue does not hold is moved across whole.
TEST(Datum, ReverseMovesAProjectionOfNoRowAcrossWhole) {
  AttachedDatum a;
  CProjection& typed = a.target_projection;
  typed.m_Type = PROJECTION_TRANSVERSE_MERCATOR;
  typed.SetNames("Site Grid", "Local");
  typed.SetParametersDeg(51.5, -0.5, 10000.0, 20000.0, 1.0);
  ASSERT_TRUE(a.datum.SetFromCatalogue(kWgs84Shifts, 2, -1));
  const CProjection& moved = a.datum.m_Projection;
  EXPECT_EQ(std::tie(moved.m_Name, moved.m_Country, moved.m_Type, moved.m_FalseEasting,
                     moved.m_FalseNorthing),
            std::tuple("Site Grid", "Local", PROJECTION_TRANSVERSE_MERCATOR, 10000.0, 20000.0));
  EXPECT_EQ(moved.m_Spheroid, &a.datum.m_Spheroid) << "on the datum's own spheroid";
  EXPECT_EQ(a.target_projection.m_Type, PROJECTION_UTM);
}

TEST(Datum, GridToGridPutsTheTargetOnTheOwnSpheroid) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.m_Spheroid.SetBuiltIn(kAiry1830));
  a.datum.m_Shift = testing::SetParameters();
  ASSERT_TRUE(a.datum.SetFromCatalogue(kNoDatumShift, 0, -1));
  EXPECT_EQ(a.datum.GetName(), "Airy 1830 (Grid To Grid)");
  EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(kAiry1830)));
  EXPECT_EQ(Seven(a.datum.m_Shift), (std::array<double, 7>{}));
  EXPECT_EQ(a.datum.m_FromName, "Airy 1830") << "never reversed";
  // A sphere stays a sphere on the other side (1/f 1, no eccentricity).
  ASSERT_TRUE(a.datum.m_Spheroid.SetBuiltIn(51));
  ASSERT_TRUE(a.datum.SetFromCatalogue(kNoDatumShift, 0, 1));
  EXPECT_EQ(std::tie(a.target.m_InverseFlattening, a.target.m_SemiMinorAxis, a.target.m_E2),
            std::tuple(1.0, 6378137.0, 0.0));
  // Without a target the name has no target either.
  CDatum alone;
  ASSERT_TRUE(alone.SetFromCatalogue(kNoDatumShift, 0, 1));
  EXPECT_EQ(alone.GetName(), " (Grid To Grid)");
}

TEST(Datum, KeepsItsEntryWhenAskedForOneThatDoesNotExist) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kWgs84Shifts, 2, 1));
  const auto names = std::tuple(a.datum.m_FromName, a.datum.m_ToName, a.datum.m_ShiftStatus);
  const auto parameters = Values(a.datum.m_Shift);
  for (const auto& [type, number] :
       {std::pair(1, 55), std::pair(3, 3), std::pair(6, 8), std::pair(0, 1), std::pair(2, 1),
        std::pair(5, 1), std::pair(10, 0), std::pair(-1, 0)}) {
    EXPECT_FALSE(a.datum.SetFromCatalogue(type, number, 1)) << type << "/" << number;
    EXPECT_EQ(std::tie(a.datum.m_FromName, a.datum.m_ToName, a.datum.m_ShiftStatus), names);
    EXPECT_EQ(Values(a.datum.m_Shift), parameters);
    EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(kInternational)));
  }
}

TEST(Datum, TakesNadconEntriesAsListedInEitherDirection) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kNadconShifts, 0, -1));
  EXPECT_EQ(a.datum.m_Direction, -1);
  EXPECT_EQ(a.datum.GetName(), "NAD27 to NAD83");
  EXPECT_EQ(Definition(a.datum.m_Spheroid), Definition(SpheroidRow(7)));
  EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(17)));
}

TEST(Datum, ChangesNothingInReverseWithoutATarget) {
  CDatum d;
  ASSERT_TRUE(d.SetFromCatalogue(kWgs84Shifts, 2, -1));
  EXPECT_EQ(d.GetName(), "WGS 84 to E.D. 50 (UKOOA Recommended)");
  EXPECT_EQ(d.m_Shift.m_DX, 89.5);
  EXPECT_EQ(Definition(d.m_Spheroid), Definition(SpheroidRow(kWgs84)));
}

TEST(Datum, ResetsItsShiftButNotItsEntryOrSides) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kOtherShifts, 1, 1));
  a.datum.m_FileTitle = "Kept";
  a.datum.m_Shift = testing::SetParameters();
  a.datum.m_DLat = a.datum.m_DLon = a.datum.m_DHeight = 3.0;
  a.datum.m_Grid.m_GridRotation = a.datum.m_Grid.m_GridScaleE = a.datum.m_Grid.m_GridA = 4.0;
  a.datum.m_NadconGrid.m_Code = "conus";
  a.datum.m_HpgnGrid.m_LatitudeGrid = std::make_shared<std::vector<float>>(4, 1.0f);
  a.datum.GetName();
  a.datum.Reset();
  const CDatum& d = a.datum;
  EXPECT_TRUE(d.m_DisplayName.empty() && d.m_FromName.empty() && d.m_ToName.empty() &&
              d.m_ShiftStatus.empty());
  EXPECT_EQ(Values(d.m_Shift), Values(DatumShiftParameters{}));
  EXPECT_EQ(std::tie(d.m_DLat, d.m_DLon, d.m_DHeight), std::tuple(0.0, 0.0, 0.0));
  EXPECT_EQ(std::tie(d.m_Grid.m_GridRotation, d.m_Grid.m_GridScaleE, d.m_Grid.m_GridA),
            std::tuple(0.0, 1.0, 0.0));
  EXPECT_TRUE(d.m_NadconGrid.m_Code.empty() && d.m_HpgnGrid.m_LatitudeGrid == nullptr);
  EXPECT_EQ(std::tie(d.m_ShiftType, d.m_Number, d.m_Direction, d.m_FileTitle),
            std::tuple(kOtherShifts, 1, 1, "Kept"));
  EXPECT_EQ(d.m_Spheroid.m_Name, "International Spheroid");
}

TEST(Datum, CopiesOntoItsOwnSpheroidAndSharesTheGrids) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kWgs84Shifts, 5, 1));
  // The National Grid brings its own spheroid, Airy 1830.
  ASSERT_TRUE(a.datum.m_Projection.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
  a.datum.m_FileTitle = "Title";
  a.datum.GetName();
  a.datum.m_DLat = 1.5;
  a.datum.m_Grid.m_GridE0 = 100.0;
  a.datum.m_NadconGrid.m_LatitudeGrid = std::make_shared<std::vector<float>>(9, 0.5f);
  a.datum.m_NTv2.m_SubGrids = std::make_shared<std::vector<DataSetDef>>(1);
  a.datum.m_OstnGrid.m_Nodes = std::make_shared<OstnNodeArrays>();
  a.datum.m_SecondSpheroid.m_Name = "Changed";

  const CDatum copy(a.datum);
  CDatum assigned;
  assigned = a.datum;
  for (const CDatum* d : {&copy, static_cast<const CDatum*>(&assigned)}) {
    EXPECT_EQ(d->m_Projection.m_Spheroid, &d->m_Spheroid) << "its own spheroid, not the source's";
    EXPECT_EQ(d->m_SecondProjection.m_Spheroid, &d->m_SecondSpheroid);
    EXPECT_EQ(Definition(d->m_Spheroid), Definition(SpheroidRow(kAiry1830)));
    EXPECT_EQ(ProjectionKey(d->m_Projection), ProjectionKey(a.datum.m_Projection));
    EXPECT_EQ(d->m_Projection.m_Nu0, a.datum.m_Projection.m_Nu0);
    EXPECT_EQ(std::tie(d->m_TargetSpheroid, d->m_TargetProjection),
              std::tie(a.datum.m_TargetSpheroid, a.datum.m_TargetProjection));
    EXPECT_EQ(std::tie(d->m_FileTitle, d->m_DisplayName, d->m_FromName, d->m_ToName,
                       d->m_ShiftStatus, d->m_ShiftType, d->m_Number, d->m_Direction),
              std::tie(a.datum.m_FileTitle, a.datum.m_DisplayName, a.datum.m_FromName,
                       a.datum.m_ToName, a.datum.m_ShiftStatus, a.datum.m_ShiftType,
                       a.datum.m_Number, a.datum.m_Direction));
    EXPECT_EQ(Values(d->m_Shift), Values(a.datum.m_Shift));
    EXPECT_EQ(std::tie(d->m_DLat, d->m_Grid.m_GridE0), std::tuple(1.5, 100.0));
    EXPECT_EQ(d->m_NadconGrid.m_LatitudeGrid.get(), a.datum.m_NadconGrid.m_LatitudeGrid.get());
    EXPECT_EQ(d->m_NTv2.m_SubGrids.get(), a.datum.m_NTv2.m_SubGrids.get());
    EXPECT_EQ(d->m_OstnGrid.m_Nodes.get(), a.datum.m_OstnGrid.m_Nodes.get());
    EXPECT_EQ(d->m_SecondSpheroid.m_Name, "GRS80") << "the OSTN15 step's spheroid is not copied";
  }
  // Changing the copy's spheroid leaves the source's alone.
  assigned.m_Spheroid.m_Name = "Only the copy";
  EXPECT_EQ(a.datum.m_Spheroid.m_Name, "Airy 1830");
}

}  // namespace
}  // namespace orvale
