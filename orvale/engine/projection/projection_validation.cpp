#include "orvale/engine/projection/projection_validation.h"

#include <cmath>
#include <numbers>

#include "orvale/engine/projection/projection_types.h"

namespace orvale {
namespace {

using enum DefiningParameter;

constexpr double kHalfTurn = std::numbers::pi;
constexpr double kQuarterTurn = std::numbers::pi / 2.0;
// Angles typed in degrees and divided by the truncated display factor may come back a
// few parts in 1e16 beyond a limit typed exactly.
constexpr double kAngleSlack = 1e-12;
// Two parallels closer than this to symmetry about the equator give a cone whose
// constant is a rounding error.
constexpr double kSmallestParallelSum = 1e-9;
// The methods of the oblique projection: its rectifications.
constexpr int kRsoMethods = 4;

constexpr ParameterProblem Problem(DefiningParameter parameter, std::string_view reason) {
  return {parameter, reason};
}

bool IsLatitude(double radians) {
  return std::isfinite(radians) && std::fabs(radians) <= kQuarterTurn + kAngleSlack;
}
bool IsInsidePoles(double radians) {
  return std::isfinite(radians) && std::fabs(radians) < kQuarterTurn - kAngleSlack;
}

int MethodCount(const CProjection& p) {
  if (p.m_Type == PROJECTION_RSO) return kRsoMethods;
  const std::size_t listed = FindProjectionType(p.m_Type)->methods.size();
  return listed == 0 ? 1 : static_cast<int>(listed);
}

ParameterProblem CheckCommon(const CProjection& p) {
  if (FindProjectionType(p.m_Type) == nullptr) return Problem(kType, "not a projection type");
  if (p.m_Method < 0 || p.m_Method >= MethodCount(p)) {
    return Problem(kMethod, "not a method of the projection type");
  }
  if (!IsLatitude(p.m_OriginLatitude)) {
    return Problem(kOriginLatitude, "must be a finite latitude within 90 degrees");
  }
  // Within a whole turn, not half: the catalogue's UTM zones 0 and 61 sit at 183 degrees
  // west and east, which the longitude wrap of every projection handles.
  if (!std::isfinite(p.m_CentralMeridian) ||
      std::fabs(p.m_CentralMeridian) > 2.0 * kHalfTurn + kAngleSlack) {
    return Problem(kCentralMeridian, "must be a finite longitude within 360 degrees");
  }
  if (!std::isfinite(p.m_FalseEasting)) return Problem(kFalseEasting, "must be a finite number");
  if (!std::isfinite(p.m_FalseNorthing)) return Problem(kFalseNorthing, "must be a finite number");
  if (!std::isfinite(p.m_ScaleFactor) || !(p.m_ScaleFactor > 0.0)) {
    return Problem(kScaleFactor, "must be a finite number above 0");
  }
  if (!IsLatitude(p.m_StandardParallel1)) {
    return Problem(kStandardParallel1, "must be a finite latitude within 90 degrees");
  }
  if (!IsLatitude(p.m_StandardParallel2)) {
    return Problem(kStandardParallel2, "must be a finite latitude within 90 degrees");
  }
  return {};
}

ParameterProblem CheckLambert(const CProjection& p) {
  if (p.m_Method == 0) {
    if (!IsInsidePoles(p.m_OriginLatitude) || p.m_OriginLatitude == 0.0) {
      return Problem(kOriginLatitude,
                     "the standard parallel of a one-parallel cone must lie between the "
                     "equator and a pole, both excluded (at the equator there is no cone)");
    }
    return {};
  }
  if (!IsInsidePoles(p.m_StandardParallel1)) {
    return Problem(kStandardParallel1, "a standard parallel of a cone cannot be a pole");
  }
  if (!IsInsidePoles(p.m_StandardParallel2)) {
    return Problem(kStandardParallel2, "a standard parallel of a cone cannot be a pole");
  }
  if (std::fabs(p.m_StandardParallel1 + p.m_StandardParallel2) < kSmallestParallelSum) {
    return Problem(kStandardParallel2,
                   "the two standard parallels are missing or symmetric about the equator, "
                   "which gives no cone");
  }
  if (p.m_StandardParallel1 == p.m_StandardParallel2) {
    return Problem(kStandardParallel2,
                   "the two standard parallels are the same; a cone on one parallel is "
                   "method 0");
  }
  return {};
}

bool AllFinite(const CProjection& p, int slots) {
  for (int slot = 0; slot < slots; ++slot) {
    if (!std::isfinite(p.m_Param[static_cast<std::size_t>(slot)])) return false;
  }
  return true;
}

ParameterProblem CheckParameterBlock(const CProjection& p) {
  const ProjectionParameters uses = FindProjectionType(p.m_Type)->ParametersOf(p.m_Method);
  if ((uses & kUsesSkewParameters) != 0) {
    // P0 and P1 are the sine and cosine of the skew angle.
    const double sine = p.m_Param[0];
    const double cosine = p.m_Param[1];
    if (!AllFinite(p, 6) || !(cosine > 0.0) ||
        std::fabs(sine * sine + cosine * cosine - 1.0) > 1e-6) {
      return Problem(kParameterBlock,
                     "P0 and P1 must be the sine and cosine of the skew angle, and P0 ... P5 "
                     "finite");
    }
  }
  const bool six = (uses & kUsesZoneConstants6) != 0;
  if (six || (uses & kUsesZoneConstants11) != 0) {
    // P4 is the zone's scale factor in both table forms.
    if (!AllFinite(p, six ? 6 : 11) || !(p.m_Param[4] > 0.0)) {
      return Problem(kParameterBlock,
                     "the zone constants must be finite, the scale factor P4 above 0");
    }
  }
  return {};
}

}  // namespace

ParameterProblem CheckSpheroidParameters(double semi_major_axis, double inverse_flattening) {
  if (!std::isfinite(semi_major_axis) || !(semi_major_axis > 0.0)) {
    return Problem(kSemiMajorAxis, "must be a finite length above 0");
  }
  const bool sphere = inverse_flattening == 0.0 || inverse_flattening == 1.0;
  if (!sphere &&
      !(std::isfinite(inverse_flattening) && inverse_flattening >= kSmallestInverseFlattening)) {
    return Problem(kInverseFlattening,
                   "must be finite and at least 100 for a spheroid, or 0 or 1 for a sphere");
  }
  return {};
}

ParameterProblem CheckProjectionParameters(const CProjection& p) {
  if (p.m_Spheroid == nullptr) return Problem(kSpheroid, "the projection has no spheroid");
  if (const ParameterProblem problem =
          CheckSpheroidParameters(p.m_Spheroid->m_SemiMajorAxis, p.m_Spheroid->m_InverseFlattening);
      !problem.ok()) {
    return problem;
  }
  if (const ParameterProblem problem = CheckCommon(p); !problem.ok()) return problem;
  if (p.m_Type == PROJECTION_LAMBERT) return CheckLambert(p);
  if (p.m_Type == PROJECTION_MERCATOR && !IsInsidePoles(p.m_OriginLatitude)) {
    return Problem(kOriginLatitude, "a Mercator's standard parallel cannot be a pole");
  }
  if (p.m_Type == PROJECTION_STEREOGRAPHIC && p.m_Method != 2 &&
      !IsInsidePoles(p.m_OriginLatitude)) {
    return Problem(kOriginLatitude,
                   "an oblique or equatorial stereographic cannot be centred on a pole; the "
                   "polar one is method 2");
  }
  return CheckParameterBlock(p);
}

}  // namespace orvale
