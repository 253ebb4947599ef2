// Mercator (type 5): the normal cylindrical conformal projection, true along the
// equator (method 0) or along the parallels +-phi0 (method 1). Northings count from the
// equator in both methods.
#include <cmath>
#include <cstddef>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots, both derived by the set-up.
constexpr std::size_t kRadius = 0;          // of the cylinder's equator
constexpr std::size_t kNorthingOrigin = 1;  // northing of the standard parallel (method 1)

constexpr int kStandardParallelMethod = 1;

// Given a standard parallel, the record's scale factor becomes the equatorial scale
// that makes that parallel true, which the user sees when the record is shown again.
// With the origin on the equator the printed set-up takes the radius a and ignores the
// scale factor the record holds (and shows); the radius here is a k0, as in EPSG's
// Mercator variant A, so that the scale factor shown is the one applied.
void InitialiseMercator(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  if (p.m_OriginLatitude == 0.0) {
    param[kRadius] = s.m_SemiMajorAxis * p.m_ScaleFactor;
    param[kNorthingOrigin] = 0.0;
    return;
  }
  p.m_ScaleFactor = ParallelFactor(s, p.m_OriginLatitude);
  param[kRadius] = s.m_SemiMajorAxis * p.m_ScaleFactor;
  param[kNorthingOrigin] = p.m_Method == kStandardParallelMethod ? p.m_Psi0 * param[kRadius] : 0.0;
}

// The northing is the isometric latitude as asinh(tan) - e atanh(e sin): the printed
// logarithm of (1 + sin)/(1 - sin) loses its digits to the cancellation in 1 - sin
// (58 m at 89.9999 degrees, 1,008 km at 89.999999, infinity at 89.9999999), this
// form none.
ProjectionStatus MercatorForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  if (IsAtPole(g.latitude)) {
    WriteNoValue({out.easting, out.northing, out.convergence, out.scale});
    return ProjectionStatus::kPoleNotRepresentable;
  }
  const double radius = p.m_Param[kRadius];
  if (out.easting != nullptr) {
    *out.easting = WrapToHalfTurn(g.longitude - p.m_CentralMeridian) * radius + p.m_FalseEasting;
  }
  if (out.northing != nullptr) {
    *out.northing =
        IsometricLatitudeOfTrig(*p.m_Spheroid, g.sin_lat, g.cos_lat) * radius + p.m_FalseNorthing;
  }
  // The meridians are the grid's north lines: a true 0.
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = radius / (g.cos_lat * g.nu);
  return ProjectionStatus::kOk;
}

// Every finite northing has a latitude, but one that is the pole to within
// kPoleTolerance is not one the forward gives: it is beyond what the projection holds.
ProjectionStatus MercatorInverse(const CProjection& p, double easting, double northing,
                                 const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double radius = p.m_Param[kRadius];
  const LatitudeWithTrig found = LatitudeFromIsometric(s, (northing - p.m_FalseNorthing) / radius);
  if (!found.converged || IsAtPole(found.latitude)) {
    WriteNoValue({out.latitude, out.longitude, out.convergence, out.scale});
    return found.converged ? ProjectionStatus::kBeyondPole : ProjectionStatus::kNoConvergence;
  }
  if (out.latitude != nullptr) *out.latitude = found.latitude;
  if (out.longitude != nullptr) {
    *out.longitude = WrapToHalfTurn(p.m_CentralMeridian + (easting - p.m_FalseEasting) / radius);
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) {
    *out.scale = radius / (CurvatureAt(s, found.sin_lat).nu * found.cos_lat);
  }
  return ProjectionStatus::kOk;
}

}  // namespace

const ProjectionMaths kMercatorMaths = {
    .initialise = InitialiseMercator,
    .forward = MercatorForward,
    .inverse = MercatorInverse,
};

}  // namespace orvale::projection
