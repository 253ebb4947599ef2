// The projection record: its setters, its set-up and the two entries, which hand each
// point to the maths its type and method choose in the family table.

#include "orvale/engine/projection/projection.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <string_view>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_family.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale {

std::string_view ProjectionStatusText(ProjectionStatus status) {
  switch (status) {
    case ProjectionStatus::kOk:
      return {};
    case ProjectionStatus::kEmptyPosition:
      return "a position at 0, 0 is taken as no position";
    case ProjectionStatus::kInvalidProjection:
      return "the projection's parameters define no projection";
    case ProjectionStatus::kUnknownMethod:
      return "the projection's method is not one its type has";
    case ProjectionStatus::kOutsideDomain:
      return "the position is outside what the projection can represent";
    case ProjectionStatus::kNoConvergence:
      return "the computation did not converge at this position";
    case ProjectionStatus::kNotANumber:
      return "the position is not a number";
    case ProjectionStatus::kBeyondPole:
      return "the position is beyond the pole";
    case ProjectionStatus::kPoleNotRepresentable:
      return "the projection cannot represent the pole";
    case ProjectionStatus::kFarFromCentralMeridian:
      return "the position is more than 90 degrees from the central meridian";
  }
  return "unknown status";
}

std::string_view CProjection::TypeText(int type) {
  const ProjectionTypeInfo* info = FindProjectionType(type);
  return info != nullptr ? info->text : std::string_view();
}

std::string_view CProjection::MethodText(int type, int method) {
  const ProjectionTypeInfo* info = FindProjectionType(type);
  return info != nullptr ? info->MethodText(method) : std::string_view();
}

int CProjection::MethodCount(int type) {
  const ProjectionTypeInfo* info = FindProjectionType(type);
  return info != nullptr ? static_cast<int>(info->methods.size()) : 0;
}

CProjection::CProjection(const CProjection& other) {
  CopyValues(other);
  if (other.m_Spheroid != nullptr) {
    m_OwnSpheroid = std::make_unique<CSpheroid>(*other.m_Spheroid);
    m_Spheroid = m_OwnSpheroid.get();
  }
}

CProjection& CProjection::operator=(const CProjection& other) {
  if (this != &other) Assign(other);
  return *this;
}

void CProjection::Assign(const CProjection& other) {
  if (this == &other) return;
  CopyValues(other);
  // The spheroid belongs to this record's owner: take the other's values, not its
  // pointer. A record without a spheroid takes a copy of its own.
  if (other.m_Spheroid != nullptr && other.m_Spheroid != m_Spheroid) {
    if (m_Spheroid != nullptr) {
      *m_Spheroid = *other.m_Spheroid;
    } else {
      m_OwnSpheroid = std::make_unique<CSpheroid>(*other.m_Spheroid);
      m_Spheroid = m_OwnSpheroid.get();
    }
  }
  Initialise();
}

void CProjection::CopyValues(const CProjection& other) {
  m_FileTitle = other.m_FileTitle;
  m_Index = other.m_Index;
  m_Name = other.m_Name;
  m_Country = other.m_Country;
  m_Type = other.m_Type;
  m_Method = other.m_Method;
  m_OriginLatitude = other.m_OriginLatitude;
  m_CentralMeridian = other.m_CentralMeridian;
  m_FalseEasting = other.m_FalseEasting;
  m_FalseNorthing = other.m_FalseNorthing;
  m_ScaleFactor = other.m_ScaleFactor;
  m_StandardParallel1 = other.m_StandardParallel1;
  m_StandardParallel2 = other.m_StandardParallel2;
  m_Extra = other.m_Extra;
  m_Reserved = other.m_Reserved;
  m_NamedRow = other.m_NamedRow;
  m_Param = other.m_Param;
  m_Zone = other.m_Zone;
  // The derived values too: a set-up recomputes them, except without a spheroid, when
  // the copy must still hold the other's.
  m_ScaleRatio = other.m_ScaleRatio;
  m_SinLat0 = other.m_SinLat0;
  m_CosLat0 = other.m_CosLat0;
  m_TanLat0 = other.m_TanLat0;
  m_Nu0 = other.m_Nu0;
  m_Rho0 = other.m_Rho0;
  m_M0 = other.m_M0;
  m_Psi0 = other.m_Psi0;
}

void CProjection::SetParameters(double origin_latitude, double central_meridian,
                                double false_easting, double false_northing, double scale_factor) {
  m_OriginLatitude = origin_latitude;
  m_CentralMeridian = central_meridian;
  m_FalseEasting = false_easting;
  m_FalseNorthing = false_northing;
  m_ScaleFactor = scale_factor;
  Initialise();
}

void CProjection::SetParametersDeg(double origin_latitude, double central_meridian,
                                   double false_easting, double false_northing,
                                   double scale_factor) {
  SetParameters(origin_latitude * kRadiansPerDegree, central_meridian * kRadiansPerDegree,
                false_easting, false_northing, scale_factor);
}

void CProjection::SetStandardParallels(double first, double second) {
  if (m_Method != 0) {
    m_StandardParallel1 = first * kRadiansPerDegree;
    m_StandardParallel2 = second * kRadiansPerDegree;
  } else {
    m_OriginLatitude = first * kRadiansPerDegree;
  }
  // The whole set-up, not only the cone's constants: the values derived from the
  // origin latitude must follow it too, whatever the family.
  Initialise();
}

void CProjection::SetRsoParameters(double p0, double p1, double p2, double p3, double p4,
                                   double p5) {
  m_Param[0] = p0;
  m_Param[1] = p1;
  m_Param[2] = p2;
  m_Param[3] = p3;
  m_Param[4] = p4;
  m_Param[5] = p5;
}

void CProjection::SetStateParameters6(const std::array<double, 6>& values) {
  std::copy(values.begin(), values.end(), m_Param.begin());
  Initialise();
}

void CProjection::SetStateParameters11(const std::array<double, 11>& values) {
  std::copy(values.begin(), values.end(), m_Param.begin());
  Initialise();
}

double CProjection::GetParameter(int number) const {
  if (number < 1 || number > 11) return 0.0;
  return m_Param[static_cast<std::size_t>(number - 1)];
}

void CProjection::SetNames(const char* name, const char* country) {
  m_Name = name != nullptr ? name : "";
  m_Country = country != nullptr ? country : "";
}

void CProjection::SetPolar(bool north) {
  m_StandardParallel1 = 0.0;
  m_StandardParallel2 = 0.0;
  m_OriginLatitude = north ? kHalfPi : -kHalfPi;
  Initialise();
}

void CProjection::SetPolarB(double latitude) {
  m_StandardParallel1 = latitude;
  m_StandardParallel2 = 0.0;
  m_OriginLatitude = 0.0;
  Initialise();
}

void CProjection::SetPolarBDeg(double latitude) {
  SetPolarB(latitude * kRadiansPerDegree);
}

void CProjection::SetPolarC(double latitude) {
  m_StandardParallel2 = latitude;
  m_StandardParallel1 = 0.0;
  m_OriginLatitude = 0.0;
  Initialise();
}

void CProjection::SetPolarCDeg(double latitude) {
  SetPolarC(latitude * kRadiansPerDegree);
}

double CProjection::UtmZoneCentralMeridian(int zone) {
  return (6.0 * zone - 183.0) * kRadiansPerDegree;
}

int CProjection::UtmZoneFromLongitude(double longitude) {
  return static_cast<int>((longitude * kDegreesPerRadian + 183.0) / 6.0);
}

namespace {

// The two int32 of a national grid, as they lie in the first slot's eight bytes.
struct SlotPair {
  std::int32_t first;
  std::int32_t second;
};

// The maths that computes this record; null for a type or method without one.
const projection::ProjectionMaths* MathsOf(const CProjection& p) {
  const projection::ProjectionFamily* family = projection::FamilyOf(p.m_Type);
  return family != nullptr ? family->MathsFor(p.m_Method) : nullptr;
}

}  // namespace

std::int32_t CProjection::NationalGridFirst() const {
  return std::bit_cast<SlotPair>(m_Param[0]).first;
}

std::int32_t CProjection::NorwegianAxis() const {
  return NationalGridFirst();
}

std::int32_t CProjection::DanishZone() const {
  return NationalGridFirst();
}

std::int32_t CProjection::NationalGridUtmZone() const {
  return std::bit_cast<SlotPair>(m_Param[0]).second;
}

void CProjection::SetNationalGridPair(std::int32_t first, std::int32_t utm_zone) {
  m_Param[0] = std::bit_cast<double>(SlotPair{first, utm_zone});
}

void CProjection::SetNorwegianAxis(std::int32_t axis, std::int32_t utm_zone) {
  SetNationalGridPair(axis, utm_zone);
}

void CProjection::SetDanishZone(std::int32_t zone, std::int32_t utm_zone) {
  SetNationalGridPair(zone, utm_zone);
}

double CProjection::FootpointStart(double northing) const {
  const projection::ProjectionMaths* maths = MathsOf(*this);
  if (maths == nullptr || maths->footpoint_start == nullptr || m_Spheroid == nullptr) return 0.0;
  return maths->footpoint_start(*this, northing);
}

void CProjection::Initialise() {
  if (m_Spheroid != nullptr) {
    const CSpheroid& s = *m_Spheroid;
    m_SinLat0 = std::sin(m_OriginLatitude);
    m_CosLat0 = std::cos(m_OriginLatitude);
    m_TanLat0 = m_CosLat0 == 0.0 ? 0.0 : m_SinLat0 / m_CosLat0;
    const Curvature curvature = CurvatureAt(s, m_SinLat0);
    m_Nu0 = curvature.nu;
    m_Rho0 = curvature.rho;
    m_M0 = MeridianDistance(s, m_OriginLatitude);
    m_Psi0 = IsometricLatitude(s, m_OriginLatitude);
    const projection::ProjectionMaths* maths = MathsOf(*this);
    if (s.m_SemiMajorAxis != 0.0 && maths != nullptr && maths->initialise != nullptr) {
      maths->initialise(*this);
    }
  }
  const double departure = m_ScaleFactor >= 1.0 ? m_ScaleFactor - 1.0 : 1.0 - m_ScaleFactor;
  m_ScaleRatio = departure == 0.0 ? 1.0 : 1.0 / departure;
}

void CProjection::InitialiseLambert() {
  if (m_Spheroid == nullptr || m_Spheroid->m_SemiMajorAxis == 0.0) return;
  const projection::ProjectionMaths* maths =
      projection::FamilyOf(PROJECTION_LAMBERT)->MathsFor(m_Method);
  if (maths != nullptr) maths->initialise(*this);
}

namespace {

bool IsNumber(const double* output) {
  return output == nullptr || std::isfinite(*output);
}

// What a computed forward says: the point is a result when its grid position is made
// of finite numbers. Convergence and scale do not decide it: a method that does not
// compute one leaves the caller's value there, whatever that is.
ProjectionStatus GridStatus(const projection::GridOutputs& out) {
  const bool numbers = IsNumber(out.easting) && IsNumber(out.northing);
  return numbers ? ProjectionStatus::kOk : ProjectionStatus::kOutsideDomain;
}

}  // namespace

ProjectionStatus CProjection::GeogToGrid(double latitude, double longitude, double* easting,
                                         double* northing, double* convergence, double* scale) {
  const projection::GridOutputs out{easting, northing, convergence, scale};
  if (!CanProject()) {
    projection::WriteEmptyGrid(*this, out);
    return ProjectionStatus::kInvalidProjection;
  }
  if (projection::IsEmptyGeogPosition(latitude, longitude)) {
    projection::WriteEmptyGrid(*this, out);
    return ProjectionStatus::kEmptyPosition;
  }
  const projection::ProjectionMaths* maths = MathsOf(*this);
  if (maths == nullptr) return ProjectionStatus::kUnknownMethod;
  const projection::GeogPoint point = projection::MakeGeogPoint(*m_Spheroid, latitude, longitude);
  const ProjectionStatus status = maths->recording_forward != nullptr
                                      ? maths->recording_forward(*this, point, out)
                                      : maths->forward(*this, point, out);
  if (convergence != nullptr) {
    *convergence = std::clamp(*convergence, -std::numbers::pi, std::numbers::pi);
  }
  return status == ProjectionStatus::kOk ? GridStatus(out) : status;
}

ProjectionStatus CProjection::GridToGeog(double easting, double northing, double* latitude,
                                         double* longitude, double* convergence,
                                         double* scale) const {
  const projection::GeogOutputs out{latitude, longitude, convergence, scale};
  if (!CanProject()) {
    projection::WriteEmptyGeog(*this, out);
    return ProjectionStatus::kInvalidProjection;
  }
  if (projection::IsEmptyGridPosition(easting, northing)) {
    projection::WriteEmptyGeog(*this, out);
    return ProjectionStatus::kEmptyPosition;
  }
  const projection::ProjectionMaths* maths = MathsOf(*this);
  if (maths == nullptr) return ProjectionStatus::kUnknownMethod;
  const ProjectionStatus status = maths->inverse(*this, easting, northing, out);
  const ProjectionStatus exit = projection::ApplyGeogExitRules(out);
  return status == ProjectionStatus::kOk ? exit : status;
}

namespace {

// A run (GridRun or GeogRun: two inputs, two outputs, three optional outputs) over as
// many points as the shortest span holds; an empty optional span is not computed.
template <class Run>
Run MakeRun(std::span<const double> first_in, std::span<const double> second_in,
            std::span<double> first_out, std::span<double> second_out,
            std::span<double> convergences, std::span<double> scales,
            std::span<ProjectionStatus> statuses) {
  std::size_t count =
      std::min({first_in.size(), second_in.size(), first_out.size(), second_out.size()});
  if (!convergences.empty()) count = std::min(count, convergences.size());
  if (!scales.empty()) count = std::min(count, scales.size());
  if (!statuses.empty()) count = std::min(count, statuses.size());
  return {first_in.data(),
          second_in.data(),
          first_out.data(),
          second_out.data(),
          convergences.empty() ? nullptr : convergences.data(),
          scales.empty() ? nullptr : scales.data(),
          statuses.empty() ? nullptr : statuses.data(),
          count};
}

}  // namespace

void CProjection::GeogToGridMany(std::span<const double> latitudes,
                                 std::span<const double> longitudes, std::span<double> eastings,
                                 std::span<double> northings, std::span<double> convergences,
                                 std::span<double> scales, std::span<ProjectionStatus> statuses) {
  const auto run = MakeRun<projection::GridRun>(latitudes, longitudes, eastings, northings,
                                                convergences, scales, statuses);
  const projection::ProjectionMaths* maths = MathsOf(*this);
  if (maths != nullptr && maths->forward_run != nullptr && CanProject() &&
      maths->forward_run(*this, run)) {
    return;
  }
  for (std::size_t i = 0; i < run.count; ++i) {
    const double latitude = latitudes[i], longitude = longitudes[i];  // outputs may overlay them
    const projection::GridOutputs out = run.OutputsAt(i);
    const ProjectionStatus status =
        GeogToGrid(latitude, longitude, out.easting, out.northing, out.convergence, out.scale);
    if (run.statuses != nullptr) run.statuses[i] = status;
  }
}

void CProjection::GridToGeogMany(std::span<const double> eastings,
                                 std::span<const double> northings, std::span<double> latitudes,
                                 std::span<double> longitudes, std::span<double> convergences,
                                 std::span<double> scales,
                                 std::span<ProjectionStatus> statuses) const {
  const auto run = MakeRun<projection::GeogRun>(eastings, northings, latitudes, longitudes,
                                                convergences, scales, statuses);
  const projection::ProjectionMaths* maths = MathsOf(*this);
  if (maths != nullptr && maths->inverse_run != nullptr && CanProject() &&
      maths->inverse_run(*this, run)) {
    return;
  }
  for (std::size_t i = 0; i < run.count; ++i) {
    const double easting = eastings[i], northing = northings[i];  // outputs may overlay them
    const projection::GeogOutputs out = run.OutputsAt(i);
    *out.latitude = FootpointStart(northing);
    const ProjectionStatus status =
        GridToGeog(easting, northing, out.latitude, out.longitude, out.convergence, out.scale);
    if (run.statuses != nullptr) run.statuses[i] = status;
  }
}

bool CProjection::CanProject() const {
  return m_Spheroid != nullptr && m_Spheroid->m_SemiMajorAxis != 0.0 && m_ScaleFactor != 0.0;
}

}  // namespace orvale
