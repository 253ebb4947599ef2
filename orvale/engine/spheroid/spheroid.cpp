#include "orvale/engine/spheroid/spheroid.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "orvale/engine/spheroid/spheroid_catalogue.h"

namespace orvale {
namespace {

// The shortest text that reads back as the same double.
std::string Shortest(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

CSpheroid::CSpheroid() {
  SetDefault();
}

void CSpheroid::SetDefault() {
  // The default row is in the table: loading it cannot fail.
  static_cast<void>(SetBuiltIn(kDefaultSpheroidIndex));
}

CSpheroid& CSpheroid::operator=(const CSpheroid& other) {
  m_FileTitle = other.m_FileTitle;
  m_Name = other.m_Name;
  m_Country = other.m_Country;
  m_SemiMajorAxis = other.m_SemiMajorAxis;
  m_SemiMinorAxis = other.m_SemiMinorAxis;
  m_InverseFlattening = other.m_InverseFlattening;
  m_EPSGNo = other.m_EPSGNo;
  m_RangeBearingMethod = other.m_RangeBearingMethod;
  ComputeConstants();
  return *this;
}

void CSpheroid::ComputeConstants() {
  const double rf = m_InverseFlattening;
  if (!(rf > 0.0)) {
    ClearConstants();
    return;
  }
  // No ellipsoid has a flattening of 1 or more: f = 1 flattens it to a disc and
  // f > 1 makes the polar axis negative. The catalogue marks its spheres (b = a) with
  // 1/f = 1.0, so every such value is read as a sphere, e = 0. Taken literally it
  // would give e = 1, 1 - e^2 = 0, and e'^2 would divide by that zero.
  m_E2 = rf <= 1.0 ? 0.0 : 2.0 / rf - 1.0 / (rf * rf);
  m_E = std::sqrt(m_E2);
  m_HalfE = 0.5 * m_E;
  m_OneMinusE2 = 1.0 - m_E2;
  m_Ep2 = m_E2 / (1.0 - m_E2);
  m_OnePlusEp2 = m_Ep2 + 1.0;
  m_PolarK = std::sqrt(std::pow(1.0 - m_E, 1.0 - m_E) * std::pow(1.0 + m_E, 1.0 + m_E));
  const double s = std::sqrt(1.0 - m_E2);
  m_E1 = (1.0 - s) / (1.0 + s);
  m_FootE1 = m_E1;
  ComputeMeridianCoefficients();
  ComputeFootpointCoefficients();
}

void CSpheroid::ComputeMeridianCoefficients() {
  const double e2 = m_E2;
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  m_A0 = 1.0 - e2 * 0.25 - 3.0 * e4 * 0.015625 - 5.0 * e6 * 0.00390625;
  m_A2 = 3.0 * 0.125 * (e2 + e4 * 0.25 + 15.0 * e6 * 0.0078125);
  m_A4 = 15.0 * 0.00390625 * (e4 + 3.0 * e6 * 0.25);
  m_A6 = 35.0 * e6 / 3072.0;
  m_MeridianA0 = m_A0 * m_SemiMajorAxis;
  m_MeridianSlope0 = m_A0 - 2.0 * m_A2 + 4.0 * m_A4 - 6.0 * m_A6;
}

void CSpheroid::ComputeFootpointCoefficients() {
  const double e1 = m_E1;
  const double e1_2 = e1 * e1;
  const double e1_3 = e1_2 * e1;
  const double e1_4 = e1_3 * e1;
  m_Foot2 = 1.5 * e1 - 27.0 * e1_3 * 0.03125;
  m_Foot4 = 21.0 * e1_2 * 0.0625 - 55.0 * e1_4 * 0.03125;
  m_Foot6 = 151.0 * e1_3 / 96.0;
  m_Foot8 = 1097.0 * e1_4 * 0.001953125;
}

void CSpheroid::ClearConstants() {
  for (double* field : {&m_E2, &m_E, &m_HalfE, &m_PolarK, &m_E1, &m_OneMinusE2, &m_Ep2,
                        &m_OnePlusEp2, &m_A0, &m_A2, &m_A4, &m_A6, &m_MeridianA0, &m_MeridianSlope0,
                        &m_FootE1, &m_Foot2, &m_Foot4, &m_Foot6, &m_Foot8}) {
    *field = 0.0;
  }
}

bool CSpheroid::SetBuiltIn(std::int32_t index) {
  if (index < 0 || index >= kBuiltInSpheroidCount) return false;
  const SpheroidRow& row = BuiltInSpheroids()[static_cast<std::size_t>(index)];
  m_Index = index;
  m_EPSGNo = row.epsg;
  m_Name = row.name;
  m_Country = row.country;
  m_SemiMajorAxis = row.semi_major_axis;
  m_SemiMinorAxis = row.semi_minor_axis;
  m_InverseFlattening = row.inverse_flattening;
  ComputeConstants();
  return true;
}

void CSpheroid::SetAxes(double semi_major_axis, double inverse_flattening) {
  // Typed or copied values outside this band are not a real earth ellipsoid (the
  // spheres' 1.0 and an unset 0 among them); the International 297 stands in.
  if (!(inverse_flattening >= 290.0 && inverse_flattening <= 310.0)) inverse_flattening = 297.0;
  m_SemiMajorAxis = semi_major_axis;
  m_InverseFlattening = inverse_flattening;
  m_SemiMinorAxis = (1.0 - 1.0 / inverse_flattening) * semi_major_axis;
  ComputeConstants();
}

bool CSpheroid::IsSame(const CSpheroid& other) const {
  return m_Name == other.m_Name && m_Country == other.m_Country;
}

}  // namespace orvale

namespace orvale {

std::string SpheroidAxesProblem(double a, double b, double rf) {
  const std::pair<const char*, double> values[] = {{"a", a}, {"b", b}, {"1/f", rf}};
  for (const auto& [name, value] : values) {
    if (!std::isfinite(value)) return std::string(name) + " is not a finite number";
  }
  if (!(a > 0.0)) return "a is " + Shortest(a) + ", not above 0";
  if (!(b > 0.0)) return "b is " + Shortest(b) + ", not above 0";
  if (b > a) return "b (" + Shortest(b) + ") is larger than a (" + Shortest(a) + ")";
  if (rf < 1.0) {
    return "1/f is " + Shortest(rf) + "; it is 1 for a sphere (b = a) and above 1 otherwise";
  }
  const double implied = rf <= 1.0 ? a : a * (1.0 - 1.0 / rf);
  if (std::fabs(b - implied) > kAxesAgreement) {
    return "b (" + Shortest(b) + ") disagrees with a and 1/f, which give " + Shortest(implied);
  }
  return {};
}

}  // namespace orvale
