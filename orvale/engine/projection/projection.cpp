#include "orvale/engine/projection/projection.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <string_view>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale {
namespace {

constexpr std::array<std::string_view, kProjectionTypeCount> kTypeTexts = {
    "U.T.M",
    "Transverse Mercator",
    "Gauss-Kruger TM (Pulkovo 1942)",
    "T.M. (South Pole is North)",
    "T.M. (USA)",
    "Mercator",
    "Lambert Conical",
    "Cassini-Soldner",
    "Azimuthal Equidistant",
    "Stereographic",
    "Polyconic",
    "Rectified Skewed Orthomorphic",
    "State Plane",
    "Norwegian National Grid",
    "Danish National Grid",
};

constexpr std::array<std::string_view, 2> kUtmMethods = {"North of Equator", "South of Equator"};
constexpr std::array<std::string_view, 1> kTransverseMercatorMethods = {"Transverse Mercator"};
constexpr std::array<std::string_view, 2> kMercatorMethods = {"Equator", "Standard Parallel"};
constexpr std::array<std::string_view, 3> kLambertMethods = {
    "One Standard Parallel", "Two Standard Parallel", "Two Standard Parallel (USA)"};
constexpr std::array<std::string_view, 3> kStereographicMethods = {"Oblique", "Equatorial",
                                                                   "Polar"};
// "Transvere" is the text users have always seen for this method; kept as it is.
constexpr std::array<std::string_view, 4> kStatePlaneMethods = {
    "Transvere Mercator", "Lambert Tables", "TM Tables", "RSO"};
constexpr std::array<std::string_view, 8> kNorwegianAxes = {
    "NGO (Axis I)", "NGO (Axis II)", "NGO (Axis III)", "NGO (Axis IV)",
    "NGO (Axis V)", "NGO (Axis VI)", "NGO (Axis VII)", "NGO (Axis VIII)"};

struct MethodList {
  const std::string_view* texts;
  int count;
};

template <std::size_t N>
constexpr MethodList ListOf(const std::array<std::string_view, N>& texts) {
  return {texts.data(), static_cast<int>(N)};
}

constexpr MethodList MethodsOf(int type) {
  switch (type) {
    case PROJECTION_UTM:
      return ListOf(kUtmMethods);
    case PROJECTION_TRANSVERSE_MERCATOR:
    case PROJECTION_GAUSS_KRUGER:
    case PROJECTION_TM_SOUTH_ORIENTATED:
    case PROJECTION_TM_USA:
      return ListOf(kTransverseMercatorMethods);
    case PROJECTION_MERCATOR:
      return ListOf(kMercatorMethods);
    case PROJECTION_LAMBERT:
      return ListOf(kLambertMethods);
    case PROJECTION_STEREOGRAPHIC:
      return ListOf(kStereographicMethods);
    case PROJECTION_STATE_PLANE:
      return ListOf(kStatePlaneMethods);
    case PROJECTION_NORWEGIAN:
      return ListOf(kNorwegianAxes);
    default:
      return {nullptr, 0};
  }
}

struct SlotPair {
  std::int32_t first;
  std::int32_t second;
};

SlotPair ReadSlotPair(double slot) {
  return std::bit_cast<SlotPair>(slot);
}

bool IsTransverseMercatorFamily(int type, int method) {
  return (type >= PROJECTION_UTM && type <= PROJECTION_TM_USA) ||
         (type == PROJECTION_STATE_PLANE && method == 0);
}

bool IsRso(int type, int method) {
  return type == PROJECTION_RSO || (type == PROJECTION_STATE_PLANE && method == 3);
}

}  // namespace

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
  }
  return "unknown status";
}

std::string_view CProjection::TypeText(int type) {
  if (type < 0 || type >= kProjectionTypeCount) return {};
  return kTypeTexts[static_cast<std::size_t>(type)];
}

std::string_view CProjection::MethodText(int type, int method) {
  if (type >= PROJECTION_TRANSVERSE_MERCATOR && type <= PROJECTION_TM_USA) {
    return kTransverseMercatorMethods[0];
  }
  const MethodList list = MethodsOf(type);
  if (method < 0 || method >= list.count) return {};
  return list.texts[method];
}

int CProjection::MethodCount(int type) {
  return MethodsOf(type).count;
}

CProjection& CProjection::operator=(const CProjection& other) {
  if (this != &other) Assign(other);
  return *this;
}

void CProjection::Assign(const CProjection& other) {
  if (this == &other) return;
  CSpheroid* own_spheroid = m_Spheroid;
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
  // The derived values too: the set-up below recomputes them, except without a
  // spheroid, when the copy must still hold the other's.
  m_ScaleRatio = other.m_ScaleRatio;
  m_SinLat0 = other.m_SinLat0;
  m_CosLat0 = other.m_CosLat0;
  m_TanLat0 = other.m_TanLat0;
  m_Nu0 = other.m_Nu0;
  m_Rho0 = other.m_Rho0;
  m_M0 = other.m_M0;
  m_Psi0 = other.m_Psi0;
  // The spheroid belongs to this record's owner: take the other's values, not its
  // pointer. A record without a spheroid of its own shares the other's.
  if (own_spheroid == nullptr) {
    m_Spheroid = other.m_Spheroid;
  } else if (other.m_Spheroid != nullptr && other.m_Spheroid != own_spheroid) {
    *own_spheroid = *other.m_Spheroid;
  }
  Initialise();
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

double CProjection::FootpointStart(double northing) const {
  if (!IsTransverseMercatorFamily(m_Type, m_Method) || m_Spheroid == nullptr ||
      m_Spheroid->m_MeridianA0 == 0.0 || m_ScaleFactor == 0.0) {
    return 0.0;
  }
  const double grid_northing = m_Type == PROJECTION_TM_SOUTH_ORIENTATED ? -northing : northing;
  const CSpheroid& s = *m_Spheroid;
  // The rectifying latitude of the meridian distance (y / k0 + M0) / (a A0), as one
  // quotient, then the footpoint series: close enough that the iteration settles in
  // its first round.
  const double mu =
      (grid_northing - m_FalseNorthing + m_ScaleFactor * m_M0) / (m_ScaleFactor * s.m_MeridianA0);
  const double start = FootpointSeries(s, mu);
  return std::fabs(start) <= kHalfPi ? start : 0.0;
}

std::int32_t CProjection::GridAxis() const {
  return ReadSlotPair(m_Param[0]).first;
}

std::int32_t CProjection::GridUtmZone() const {
  return ReadSlotPair(m_Param[0]).second;
}

void CProjection::SetGridAxisAndZone(std::int32_t axis, std::int32_t utm_zone) {
  m_Param[0] = std::bit_cast<double>(SlotPair{axis, utm_zone});
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
    if (s.m_SemiMajorAxis != 0.0) InitialiseFamily();
  }
  const double departure = m_ScaleFactor >= 1.0 ? m_ScaleFactor - 1.0 : 1.0 - m_ScaleFactor;
  m_ScaleRatio = departure == 0.0 ? 1.0 : 1.0 / departure;
}

void CProjection::InitialiseFamily() {
  switch (m_Type) {
    case PROJECTION_MERCATOR:
      projection::InitialiseMercator(*this);
      break;
    case PROJECTION_LAMBERT:
      InitialiseLambert();
      break;
    case PROJECTION_STEREOGRAPHIC:
      projection::InitialiseStereographic(*this);
      break;
    case PROJECTION_RSO:
      projection::InitialiseRso(*this);
      break;
    case PROJECTION_STATE_PLANE:
      if (m_Method == 1 || m_Method == 2) projection::InitialiseStatePlaneTables(*this);
      // The oblique zone needs the same constants as the oblique family itself.
      if (m_Method == 3) projection::InitialiseRso(*this);
      break;
    case PROJECTION_DANISH:
      m_M0 = 0.0;
      break;
    default:
      break;
  }
}

void CProjection::InitialiseLambert() {
  if (m_Spheroid == nullptr || m_Spheroid->m_SemiMajorAxis == 0.0) return;
  projection::InitialiseLambertConstants(*this);
}

namespace {

// Methods whose computation the type selects by m_Method; any method computes for the
// other types (their methods only name the set-up, or they have none).
bool KnowsMethod(const CProjection& p) {
  switch (p.m_Type) {
    case PROJECTION_LAMBERT:
    case PROJECTION_STEREOGRAPHIC:
      return p.m_Method >= 0 && p.m_Method <= 2;
    case PROJECTION_RSO:
    case PROJECTION_STATE_PLANE:
      return p.m_Method >= 0 && p.m_Method <= 3;
    case PROJECTION_NORWEGIAN:
      return p.GridAxis() >= 1 && p.GridAxis() <= 8;
    case PROJECTION_DANISH:
      return p.GridAxis() >= 0 && p.GridAxis() <= 2;
    default:
      return true;
  }
}

bool IsNumber(const double* output) {
  return output == nullptr || std::isfinite(*output);
}

// What a computed forward says: its outputs are a result when every one asked for is
// a finite number.
ProjectionStatus GridStatus(const projection::GridOutputs& out) {
  const bool numbers = IsNumber(out.easting) && IsNumber(out.northing) &&
                       IsNumber(out.convergence) && IsNumber(out.scale);
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
  const projection::GeogPoint point = projection::MakeGeogPoint(*m_Spheroid, latitude, longitude);
  ProjectionStatus status = ProjectionStatus::kUnknownMethod;
  if (IsTransverseMercatorFamily(m_Type, m_Method)) {
    status = projection::TransverseMercatorForward(*this, point, out);
  } else if (IsRso(m_Type, m_Method)) {
    status = projection::RsoForward(*this, point, out);
  } else {
    switch (m_Type) {
      case PROJECTION_MERCATOR:
        status = projection::MercatorForward(*this, point, out);
        break;
      case PROJECTION_LAMBERT:
        status = projection::LambertForward(*this, point, out);
        break;
      case PROJECTION_CASSINI_SOLDNER:
        status = projection::CassiniForward(*this, point, out);
        break;
      case PROJECTION_AZIMUTHAL_EQUIDISTANT:
        status = projection::AzimuthalEquidistantForward(*this, point, out);
        break;
      case PROJECTION_STEREOGRAPHIC:
        status = projection::StereographicForward(*this, point, out);
        break;
      case PROJECTION_POLYCONIC:
        status = projection::PolyconicForward(*this, point, out);
        break;
      case PROJECTION_STATE_PLANE:
        status = projection::StatePlaneTablesForward(*this, point, out);
        break;
      case PROJECTION_NORWEGIAN:
        status = projection::NorwegianGridForward(*this, point, out);
        break;
      case PROJECTION_DANISH:
        status = projection::DanishGridForward(*this, point, out);
        break;
      default:
        break;
    }
  }
  if (convergence != nullptr) *convergence = std::clamp(*convergence, -M_PI, M_PI);
  if (!KnowsMethod(*this)) return ProjectionStatus::kUnknownMethod;
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
  ProjectionStatus status = ProjectionStatus::kUnknownMethod;
  if (IsTransverseMercatorFamily(m_Type, m_Method)) {
    status = projection::TransverseMercatorInverse(*this, easting, northing, out);
  } else if (IsRso(m_Type, m_Method)) {
    status = projection::RsoInverse(*this, easting, northing, out);
  } else {
    switch (m_Type) {
      case PROJECTION_MERCATOR:
        status = projection::MercatorInverse(*this, easting, northing, out);
        break;
      case PROJECTION_LAMBERT:
        status = projection::LambertInverse(*this, easting, northing, out);
        break;
      case PROJECTION_CASSINI_SOLDNER:
        status = projection::CassiniInverse(*this, easting, northing, out);
        break;
      case PROJECTION_AZIMUTHAL_EQUIDISTANT:
        status = projection::AzimuthalEquidistantInverse(*this, easting, northing, out);
        break;
      case PROJECTION_STEREOGRAPHIC:
        status = projection::StereographicInverse(*this, easting, northing, out);
        break;
      case PROJECTION_POLYCONIC:
        status = projection::PolyconicInverse(*this, easting, northing, out);
        break;
      case PROJECTION_STATE_PLANE:
        status = projection::StatePlaneTablesInverse(*this, easting, northing, out);
        break;
      case PROJECTION_NORWEGIAN:
        status = projection::NorwegianGridInverse(*this, easting, northing, out);
        break;
      case PROJECTION_DANISH:
        status = projection::DanishGridInverse(*this, easting, northing, out);
        break;
      default:
        break;
    }
  }
  const ProjectionStatus exit = projection::ApplyGeogExitRules(out);
  if (!KnowsMethod(*this)) return ProjectionStatus::kUnknownMethod;
  return status == ProjectionStatus::kOk ? exit : status;
}

namespace {

// A run (GridRun or GeogRun: two inputs, two outputs, two optional outputs) over as
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
  const std::size_t count = run.count;
  if (IsTransverseMercatorFamily(m_Type, m_Method) && CanProject()) {
    projection::TransverseMercatorForwardRun(*this, run);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
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
  const std::size_t count = run.count;
  if (IsTransverseMercatorFamily(m_Type, m_Method) && CanProject() &&
      m_Spheroid->m_MeridianA0 != 0.0) {
    projection::TransverseMercatorInverseRun(*this, run);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
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
