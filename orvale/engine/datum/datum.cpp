// The datum record: construction, reset, copy, display name, the exchange of its two
// sides and the grid-shift coefficients.

#include "orvale/engine/datum/datum.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/internal/datum_sides.h"
#include "orvale/engine/projection/projection_types.h"

namespace orvale {
namespace {

// The own projection starts as UTM zone 31 north; the fixed projection of the OSTN15
// step is the catalogue's "OSGRS80 Grid", which brings its own spheroid, GRS80, the
// ellipsoid of ETRS89 that the step works on.
constexpr int kDefaultUtmZone = 31;
constexpr int kOstnGridRow = 1;

// printf of the name formats, sized to the texts: a name has no length limit.
template <typename... Texts>
std::string Format(const char* format, const Texts&... texts) {
  const int length = std::snprintf(nullptr, 0, format, texts.c_str()...);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, texts.c_str()...);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

CDatum::CDatum() {
  Build();
  // Missing files leave the pair empty, and OSTN15 steps then find no shift; the
  // arrays are read once and shared while any datum holds them.
  static_cast<void>(LoadOstnGrids(m_OstnGrid));
}

CDatum::CDatum(const CDatum& other) {
  Build();
  *this = other;
}

void CDatum::Build() {
  m_Projection.m_Spheroid = &m_Spheroid;
  // Rows of the built-in catalogue: these cannot fail.
  static_cast<void>(m_Projection.SetFromCatalogue(kDefaultUtmZone, PROJECTION_UTM, 0));
  Reset();
  m_SecondProjection.m_Spheroid = &m_SecondSpheroid;
  static_cast<void>(
      m_SecondProjection.SetFromCatalogue(kOstnGridRow, PROJECTION_TRANSVERSE_MERCATOR, 0));
}

CDatum& CDatum::operator=(const CDatum& other) {
  if (this == &other) return *this;
  m_FileTitle = other.m_FileTitle;
  m_Spheroid = other.m_Spheroid;
  // The projection's values; its spheroid stays this datum's own (Assign copies the
  // other's spheroid contents into it, which m_Spheroid already holds).
  m_Projection = other.m_Projection;
  m_TargetSpheroid = other.m_TargetSpheroid;
  m_TargetProjection = other.m_TargetProjection;
  m_OstnGrid = other.m_OstnGrid;
  m_NTv2 = other.m_NTv2;
  m_ShiftType = other.m_ShiftType;
  m_Direction = other.m_Direction;
  m_Number = other.m_Number;
  m_DisplayName = other.m_DisplayName;
  m_FromName = other.m_FromName;
  m_ToName = other.m_ToName;
  m_ShiftStatus = other.m_ShiftStatus;
  m_Shift = other.m_Shift;
  m_DLat = other.m_DLat;
  m_DLon = other.m_DLon;
  m_DHeight = other.m_DHeight;
  m_Grid = other.m_Grid;
  m_NadconGrid = other.m_NadconGrid;
  m_HpgnGrid = other.m_HpgnGrid;
  return *this;
}

void CDatum::Reset() {
  m_DisplayName.clear();
  m_FromName.clear();
  m_ToName.clear();
  m_ShiftStatus.clear();
  m_Shift = DatumShiftParameters{};
  m_Shift.m_UseEpoch = 1;
  m_NadconGrid.Clear();
  m_HpgnGrid.Clear();
  m_DLat = 0.0;
  m_DLon = 0.0;
  m_DHeight = 0.0;
  m_Grid = GridShiftParameters{};
  m_Grid.m_GridScaleE = 1.0;
  m_Grid.m_GridScaleN = 1.0;
}

std::string CDatum::GetName() {
  if (m_ShiftType == kNoDatumShift) {
    m_DisplayName = m_ShiftStatus.empty() ? m_ToName : Format("%s (%s)", m_ToName, m_ShiftStatus);
  } else if (m_ShiftStatus.empty()) {
    m_DisplayName = Format("%s to %s", m_FromName, m_ToName);
  } else {
    m_DisplayName = Format("%s to %s (%s)", m_FromName, m_ToName, m_ShiftStatus);
  }
  return m_DisplayName;
}

void CDatum::Reverse() {
  if (m_TargetSpheroid == nullptr) return;
  std::swap(m_FromName, m_ToName);
  ExchangeSpheroids(m_Spheroid, *m_TargetSpheroid);
  if (m_TargetProjection != nullptr) ExchangeProjections(m_Projection, *m_TargetProjection);
  DatumShiftParameters& s = m_Shift;
  for (double* value : {&s.m_DX, &s.m_DY, &s.m_DZ, &s.m_RX, &s.m_RY, &s.m_RZ, &s.m_Scale, &m_DLat,
                        &m_DLon, &m_DHeight}) {
    *value = -*value;
  }
}

void CDatum::DeriveGridShift() {
  GridShiftParameters& g = m_Grid;
  const double theta = g.m_GridRotation * kRadiansPerDegree;
  g.m_GridA = std::cos(theta);
  g.m_GridB = std::sin(theta);
  g.m_GridC = -std::sin(theta);
  g.m_GridD = std::cos(theta);
  const double scale_e = g.m_GridScaleE;
  if (scale_e > 0.0) {
    g.m_GridA *= scale_e;
    g.m_GridB *= scale_e;
  } else {
    g.m_GridScaleE = 1.0;
  }
  // A northing scale that is not given takes the easting scale as it was read.
  if (!(g.m_GridScaleN > 0.0)) g.m_GridScaleN = scale_e > 0.0 ? scale_e : 1.0;
  g.m_GridC *= g.m_GridScaleN;
  g.m_GridD *= g.m_GridScaleN;
  m_ShiftType = kGridShifts;
}

}  // namespace orvale
