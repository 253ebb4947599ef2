#pragma once
// A datum as a host holds it: a target spheroid and a target projection on it,
// attached to the datum, all three in one place that is never moved.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection_types.h"

namespace orvale::testing {

// The built-in spheroid rows the datum tests meet most.
inline constexpr int kAiry1830 = 0;
inline constexpr int kInternational = 20;
inline constexpr int kWgs84 = 26;

struct AttachedDatum {
  CSpheroid target;
  CProjection target_projection;
  CDatum datum;

  AttachedDatum() {
    target_projection.m_Spheroid = &target;
    EXPECT_TRUE(target_projection.SetFromCatalogue(31, PROJECTION_UTM, 0));
    datum.m_TargetSpheroid = &target;
    datum.m_TargetProjection = &target_projection;
  }
  AttachedDatum(const AttachedDatum&) = delete;
  AttachedDatum& operator=(const AttachedDatum&) = delete;
};

inline CSpheroid SpheroidRow(int row) {
  CSpheroid s;
  EXPECT_TRUE(s.SetBuiltIn(row)) << row;
  return s;
}

// The defining values of a spheroid: what moves with it from side to side.
inline auto Definition(const CSpheroid& s) {
  return std::tuple(s.m_Name, s.m_Country, s.m_EPSGNo, s.m_SemiMajorAxis, s.m_InverseFlattening);
}

inline std::array<double, 7> Seven(const DatumShiftParameters& s) {
  return {s.m_DX, s.m_DY, s.m_DZ, s.m_RX, s.m_RY, s.m_RZ, s.m_Scale};
}

// Every value of the block but the padding.
inline auto Values(const DatumShiftParameters& s) {
  return std::tuple(Seven(s), s.m_RotationMethod,
                    std::array{s.m_DXRate, s.m_DYRate, s.m_DZRate, s.m_RXRate, s.m_RYRate,
                               s.m_RZRate, s.m_ScaleRate},
                    s.m_ReferenceEpoch, s.m_Epoch, s.m_TimeDependent, s.m_UseEpoch);
}

// A time-dependent Co-ordinate Frame set, none of whose values a load would write.
inline DatumShiftParameters SetParameters() {
  DatumShiftParameters s;
  double value = 1.0;
  for (double* v :
       {&s.m_DX, &s.m_DY, &s.m_DZ, &s.m_RX, &s.m_RY, &s.m_RZ, &s.m_Scale, &s.m_DXRate, &s.m_DYRate,
        &s.m_DZRate, &s.m_RXRate, &s.m_RYRate, &s.m_RZRate, &s.m_ScaleRate}) {
    *v = value++;
  }
  s.m_RotationMethod = 1;
  s.m_ReferenceEpoch = 2010.0;
  s.m_Epoch = 2024.5;
  s.m_TimeDependent = 1;
  s.m_UseEpoch = 0;
  return s;
}

}  // namespace orvale::testing
