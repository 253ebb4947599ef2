// The projection record: its setters, its set-up and the two entries, which hand each
// point to the maths its type and method choose in the family table.

#include "orvale/engine/projection/projection.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <string_view>
#include <type_traits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_family.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale {

std::string_view ProjectionStatusText(ProjectionStatus status) {
  switch (status) {
    case ProjectionStatus::kOk:
      return {};
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
  m_MethodConstants = other.m_MethodConstants;
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
// of finite numbers. Convergence and scale do not decide it: one a method cannot give
// is NaN.
ProjectionStatus GridStatus(const projection::GridOutputs& out) {
  const bool numbers = IsNumber(out.easting) && IsNumber(out.northing);
  return numbers ? ProjectionStatus::kOk : ProjectionStatus::kOutsideDomain;
}

}  // namespace

// Every family computes with lambda - lambda0 in (-pi, pi]: a point just west of a
// central meridian of 180 degrees is a little west of it, not nearly a turn east. The
// state-plane table methods hold their central meridian in P1, in seconds west
// positive, and add the longitude to it: theirs is taken within half a turn of -P1.
double CProjection::ForwardLongitude(const projection::ProjectionMaths& maths,
                                     double longitude) const {
  if (&maths == &projection::kLambertTablesMaths || &maths == &projection::kTmTablesMaths) {
    const double west_meridian = m_Param[1] / 3600.0 * kRadiansPerDegree;
    return projection::LongitudeNearCentralMeridian(longitude, -west_meridian);
  }
  return projection::LongitudeNearCentralMeridian(longitude, m_CentralMeridian);
}

ProjectionStatus CProjection::GeogToGrid(double latitude, double longitude, double* easting,
                                         double* northing, double* convergence, double* scale) {
  const projection::GridOutputs out{easting, northing, convergence, scale};
  const ProjectionStatus status = ComputeGrid(latitude, longitude, out);
  if (status != ProjectionStatus::kOk) projection::WriteNoResult(out);
  return status;
}

ProjectionStatus CProjection::ComputeGrid(double latitude, double longitude,
                                          const projection::GridOutputs& out) {
  if (!CanProject()) return ProjectionStatus::kInvalidProjection;
  const ProjectionStatus input = projection::CheckGeogInput(latitude, longitude);
  if (input != ProjectionStatus::kOk) return input;
  const projection::ProjectionMaths* maths = MathsOf(*this);
  if (maths == nullptr) return ProjectionStatus::kUnknownMethod;
  const double near_longitude = ForwardLongitude(*maths, longitude);
  const projection::GeogPoint point =
      projection::MakeGeogPoint(*m_Spheroid, latitude, near_longitude);
  const ProjectionStatus status = maths->recording_forward != nullptr
                                      ? maths->recording_forward(*this, point, out)
                                      : maths->forward(*this, point, out);
  if (out.convergence != nullptr) {
    *out.convergence = std::clamp(*out.convergence, -std::numbers::pi, std::numbers::pi);
  }
  return status == ProjectionStatus::kOk ? GridStatus(out) : status;
}

ProjectionStatus CProjection::GridToGeog(double easting, double northing, double* latitude,
                                         double* longitude, double* convergence,
                                         double* scale) const {
  const projection::GeogOutputs out{latitude, longitude, convergence, scale};
  const ProjectionStatus status = ComputeGeog(easting, northing, out);
  if (status != ProjectionStatus::kOk) projection::WriteNoResult(out);
  return status;
}

ProjectionStatus CProjection::ComputeGeog(double easting, double northing,
                                          const projection::GeogOutputs& out) const {
  if (!CanProject()) return ProjectionStatus::kInvalidProjection;
  const ProjectionStatus input = projection::CheckGridInput(easting, northing);
  if (input != ProjectionStatus::kOk) return input;
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

namespace {

// A family's run goes over the points in chunks of this many, with the chunk's inputs
// and statuses kept on the stack: the outputs may overlay the inputs, and the caller
// need not ask for statuses.
constexpr std::size_t kChunk = 256;

// A chunk of a run: the same arrays from `first`, over `count` points, with the
// chunk's own statuses.
template <class Run>
Run ChunkOf(const Run& run, std::size_t first, std::size_t count, ProjectionStatus* statuses) {
  Run chunk = projection::SliceOf(run, first, count);
  chunk.statuses = statuses;
  return chunk;
}

}  // namespace

void CProjection::GeogToGridMany(std::span<const double> latitudes,
                                 std::span<const double> longitudes, std::span<double> eastings,
                                 std::span<double> northings, std::span<double> convergences,
                                 std::span<double> scales, std::span<ProjectionStatus> statuses) {
  const auto run = MakeRun<projection::GridRun>(latitudes, longitudes, eastings, northings,
                                                convergences, scales, statuses);
  const projection::ProjectionMaths* maths = MathsOf(*this);
  const bool family_run = maths != nullptr && maths->forward_run != nullptr && CanProject();
  std::array<double, kChunk> lat{}, lon{};
  std::array<ProjectionStatus, kChunk> chunk_statuses{};
  for (std::size_t first = 0; first < run.count; first += kChunk) {
    const std::size_t n = std::min(kChunk, run.count - first);
    std::copy_n(run.latitudes + first, n, lat.begin());  // the outputs may overlay them
    std::copy_n(run.longitudes + first, n, lon.begin());
    const projection::GridRun chunk = ChunkOf(run, first, n, chunk_statuses.data());
    const bool ran = family_run && maths->forward_run(*this, chunk);
    // The points a family's run did not give a result for, or whose longitude is
    // more than half a turn from the central meridian, go through the single-point
    // entry: the entry rules and the longitude taken the short way round are the same
    // for every point whichever way it is converted.
    for (std::size_t i = 0; i < n; ++i) {
      const bool far = maths != nullptr && ForwardLongitude(*maths, lon[i]) != lon[i];
      if (ran && chunk_statuses[i] == ProjectionStatus::kOk && !far) continue;
      const projection::GridOutputs out = chunk.OutputsAt(i);
      chunk_statuses[i] =
          GeogToGrid(lat[i], lon[i], out.easting, out.northing, out.convergence, out.scale);
    }
    if (run.statuses != nullptr) std::copy_n(chunk_statuses.begin(), n, run.statuses + first);
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
  const bool family_run = maths != nullptr && maths->inverse_run != nullptr && CanProject();
  std::array<double, kChunk> east{}, north{};
  std::array<ProjectionStatus, kChunk> chunk_statuses{};
  for (std::size_t first = 0; first < run.count; first += kChunk) {
    const std::size_t n = std::min(kChunk, run.count - first);
    std::copy_n(run.eastings + first, n, east.begin());  // the outputs may overlay them
    std::copy_n(run.northings + first, n, north.begin());
    const projection::GeogRun chunk = ChunkOf(run, first, n, chunk_statuses.data());
    const bool ran = family_run && maths->inverse_run(*this, chunk);
    for (std::size_t i = 0; i < n; ++i) {
      const projection::GeogOutputs out = chunk.OutputsAt(i);
      // A result of the family's run meets the exit rules as a single point's does;
      // a point without one goes through the single-point entry, so that its status
      // and outputs are the entry's whichever way it is converted.
      if (ran && chunk_statuses[i] == ProjectionStatus::kOk) {
        chunk_statuses[i] = projection::ApplyGeogExitRules(out);
        if (chunk_statuses[i] == ProjectionStatus::kOk) continue;
      }
      *out.latitude = FootpointStart(north[i]);
      chunk_statuses[i] =
          GridToGeog(east[i], north[i], out.latitude, out.longitude, out.convergence, out.scale);
    }
    if (run.statuses != nullptr) std::copy_n(chunk_statuses.begin(), n, run.statuses + first);
  }
}

bool CProjection::CanProject() const {
  if (m_Spheroid == nullptr) return false;
  const double a = m_Spheroid->m_SemiMajorAxis;
  if (a == 0.0 || !std::isfinite(a) || !std::isfinite(m_Spheroid->m_E2)) return false;
  if (m_ScaleFactor == 0.0 || !std::isfinite(m_ScaleFactor)) return false;
  const std::array defining = {m_OriginLatitude,
                               m_CentralMeridian,
                               m_FalseEasting,
                               m_FalseNorthing,
                               m_StandardParallel1,
                               m_StandardParallel2,
                               m_M0,
                               m_Nu0,
                               m_Rho0};
  const auto finite = [](double v) { return std::isfinite(v); };
  if (!std::all_of(defining.begin(), defining.end(), finite)) return false;
  // The national grids keep two int32 in the first slot, which read as a double may be
  // any bit pattern; their other slots, and every slot of the other types, are numbers.
  const bool national = m_Type == PROJECTION_NORWEGIAN || m_Type == PROJECTION_DANISH;
  return std::all_of(m_Param.begin() + (national ? 1 : 0), m_Param.end(), finite);
}

}  // namespace orvale
