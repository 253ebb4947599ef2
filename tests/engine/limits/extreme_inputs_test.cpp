// NaN, infinities, signed zeros, huge and tiny numbers through every computation: each
// call returns within a bound (no iteration runs on), and a result is either flagged
// (a status, false, NaN) or finite, never a number claimed valid that is not one.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/norway.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/field_headings.h"
#include "orvale/engine/survey/geodesic.h"
#include "orvale/engine/survey/range_bearing.h"
#include "orvale/engine/survey/solar_ephemeris.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/engine/survey/traverse.h"
#include "orvale/storage/data_folders.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.141592653589793;
constexpr int kWgs84Row = 26;
// Every value the sweep sends; each entry adds ordinary values of its own, so that one
// extreme argument among sane ones is tried too.
constexpr std::array<double, 9> kExtremes = {kNaN,  kInf,   -kInf,  0.0,    -0.0,
                                             1e300, -1e300, 1e-300, -1e-300};
constexpr auto kLimit = std::chrono::milliseconds(50);

std::vector<double> Values(std::initializer_list<double> ordinary) {
  std::vector<double> values(kExtremes.begin(), kExtremes.end());
  values.insert(values.end(), ordinary);
  return values;
}

bool Finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}
bool AllNaN(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isnan(v); });
}

std::string Arguments(const std::vector<double>& arguments) {
  std::string text;
  for (const double value : arguments) {
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", value);
    text += (text.empty() ? "" : ", ") + std::string(number);
  }
  return "(" + text + ")";
}

// Calls `call` with every combination of `values` for `arity` arguments, timing each
// call; `call` checks its own results and returns false when they are wrong.
void Sweep(const char* entry, const std::vector<double>& values, std::size_t arity,
           const std::function<bool(const std::vector<double>&)>& call) {
  std::vector<double> arguments(arity);
  std::vector<std::size_t> at(arity, 0);
  int wrong = 0;
  for (;;) {
    for (std::size_t i = 0; i < arity; ++i)
      arguments[i] = values[at[i]];
    // A call over the limit is tried twice more and judged by its fastest run, so that
    // a busy machine is not taken for a computation that runs on.
    auto took = std::chrono::steady_clock::duration::max();
    bool right = true;
    for (int run = 0; run < 3 && took >= kLimit; ++run) {
      const auto start = std::chrono::steady_clock::now();
      right = call(arguments);
      took = std::min(took, std::chrono::steady_clock::now() - start);
    }
    EXPECT_LT(took, kLimit) << entry << Arguments(arguments);
    if (!right && ++wrong <= 3) ADD_FAILURE() << entry << Arguments(arguments);
    std::size_t i = 0;
    while (i < arity && ++at[i] == values.size())
      at[i++] = 0;
    if (i == arity) break;
  }
  EXPECT_EQ(wrong, 0) << entry << ": calls with wrong results";
}

bool AnyNotFinite(const std::vector<double>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [](double v) { return !std::isfinite(v); });
}

class ExtremeInputs : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_TRUE(spheroid_.SetBuiltIn(kWgs84Row));
    utm_.m_Spheroid = &spheroid_;
    ASSERT_TRUE(utm_.SetFromCatalogue(30, PROJECTION_UTM, 0));  // zone 31
  }
  CSpheroid spheroid_;
  CProjection utm_;
};

// Forward and inverse of every type and method, on built-in rows of each family.
TEST_F(ExtremeInputs, ProjectionsFlagWhatTheyCannotProject) {
  CProjection projection;
  projection.m_Spheroid = &spheroid_;
  int set_ups = 0;
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    for (int method = 0; method < std::max(1, CProjection::MethodCount(type)); ++method) {
      for (int row = 0; row < 200 && projection.SetFromCatalogue(row, type, method);
           row += row < 2 ? 1 : 17) {
        ++set_ups;
        const std::string entry = "type " + std::to_string(type) + " method " +
                                  std::to_string(method) + " row " + std::to_string(row);
        const auto check = [](ProjectionStatus status, const std::vector<double>& in,
                              std::initializer_list<double> out) {
          if (status != ProjectionStatus::kOk) return AllNaN(out);
          // A convergence or scale a method cannot give is NaN; the position must be one.
          const auto* value = out.begin();
          return Finite({value[0], value[1]}) && !std::isinf(value[2]) && !std::isinf(value[3]) &&
                 !AnyNotFinite(in);
        };
        Sweep(("forward " + entry).c_str(), Values({0.6, 0.05}), 2, [&](const auto& in) {
          double e = 0, n = 0, c = 0, k = 0;
          const ProjectionStatus status = projection.GeogToGrid(in[0], in[1], &e, &n, &c, &k);
          return check(status, in, {e, n, c, k});
        });
        // A latitude of 1e-300 is the equator to every digit: no output may differ.
        for (const double longitude : {0.05, -0.3}) {
          std::array<double, 4> tiny{}, zero{};
          const ProjectionStatus at_tiny =
              projection.GeogToGrid(1e-300, longitude, &tiny[0], &tiny[1], &tiny[2], &tiny[3]);
          const ProjectionStatus at_zero =
              projection.GeogToGrid(0.0, longitude, &zero[0], &zero[1], &zero[2], &zero[3]);
          EXPECT_EQ(at_tiny, at_zero) << entry;
          for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_TRUE(std::isnan(tiny[i]) == std::isnan(zero[i]) &&
                        !(std::fabs(tiny[i] - zero[i]) > 1e-9 * (1 + std::fabs(zero[i]))))
                << entry << " output " << i << ": " << tiny[i] << " against " << zero[i];
          }
        }
        Sweep(("inverse " + entry).c_str(), Values({5e5, 4e6}), 2, [&](const auto& in) {
          double latitude = 0, longitude = 0, c = 0, k = 0;
          const ProjectionStatus status =
              projection.GridToGeog(in[0], in[1], &latitude, &longitude, &c, &k);
          return check(status, in, {latitude, longitude, c, k});
        });
      }
    }
  }
  EXPECT_GT(set_ups, 50);
}

TEST_F(ExtremeInputs, SpheroidConversionsAndGeodesicsFlagOrStayFinite) {
  Sweep("GeogToCartesian", Values({0.6, 100.0}), 3, [&](const auto& in) {
    double x = 0, y = 0, z = 0;
    GeogToCartesian(spheroid_, in[0], in[1], in[2], x, y, z);
    if (AnyNotFinite(in)) return !Finite({x, y, z});
    return std::fabs(in[0]) > kPi / 2 || Finite({x, y, z});
  });
  Sweep("CartesianToGeog", Values({4e6, 6.4e6}), 3, [&](const auto& in) {
    double latitude = 0, longitude = 0, height = 0;
    const bool ok = CartesianToGeog(spheroid_, in[0], in[1], in[2], latitude, longitude, height);
    return !ok || (Finite({latitude, longitude, height}) && !AnyNotFinite(in));
  });
  Sweep("GeodesicInverse", Values({0.6, -2.0}), 4, [&](const auto& in) {
    const GeodesicInverseResult r = GeodesicInverse(spheroid_, in[0], in[1], in[2], in[3]);
    if (r.status != GeodesicStatus::kOk) return AllNaN({r.distance, r.azimuth_a, r.azimuth_b});
    return !AnyNotFinite(in) && Finite({r.distance, r.azimuth_a, r.azimuth_b});
  });
  Sweep("GeodesicDirect", Values({0.6, 1e6}), 4, [&](const auto& in) {
    const GeodesicDirectResult r = GeodesicDirect(spheroid_, in[0], in[1], in[2], in[3]);
    if (r.status != GeodesicStatus::kOk) return AllNaN({r.latitude, r.longitude, r.azimuth});
    return !AnyNotFinite(in) && Finite({r.latitude, r.longitude, r.azimuth});
  });
}

// A point or a parameter that is not a number makes no finite point.
TEST_F(ExtremeInputs, HelmertCarriesNaNThrough) {
  DatumShiftParameters parameters;
  parameters.m_DX = -446.448;
  parameters.m_RX = -0.15;
  parameters.m_Scale = 20.4894;
  parameters.m_TimeDependent = 1;
  parameters.m_ReferenceEpoch = 2010.0;
  parameters.m_Epoch = 2026.0;
  parameters.m_DXRate = 0.001;
  Sweep("HelmertTransform point", Values({4e6}), 3, [&](const auto& in) {
    double x = 0, y = 0, z = 0;
    HelmertTransform(parameters, 1, in[0], in[1], in[2], x, y, z);
    return AnyNotFinite(in) ? !Finite({x, y, z}) : !std::isnan(x + y + z);
  });
  for (double* field : {&parameters.m_DX, &parameters.m_RZ, &parameters.m_Scale,
                        &parameters.m_DXRate, &parameters.m_ScaleRate, &parameters.m_Epoch}) {
    const double kept = *field;
    Sweep("HelmertTransform parameter", Values({}), 1, [&](const auto& in) {
      *field = in[0];
      double x = 0, y = 0, z = 0;
      HelmertTransform(parameters, -1, 4e6, 1e5, 4.8e6, x, y, z);
      return std::isfinite(in[0]) || !Finite({x, y, z});
    });
    *field = kept;
  }
}

TEST_F(ExtremeInputs, GridShiftsRefuseWhatIsNoPosition) {
  // NTv2: one sub-grid of 3 x 3 nodes from 33 to 35 degrees north and east.
  DataSetDef grid;
  grid.m_Name = "TEST";
  grid.m_Parent = "NONE";
  grid.m_South = 118800;
  grid.m_North = 126000;
  grid.m_East = -126000;
  grid.m_West = -118800;
  grid.m_LatIncrement = grid.m_LonIncrement = 3600;
  grid.m_Nodes.assign(9, GridShiftRecordDef{0.5f, -0.25f, 0.01f, 0.01f});
  CNTv2 ntv2;
  ntv2.SetSubGrids({grid});
  int shifted = 0;
  Sweep("CNTv2::Interpolate", Values({0.6}), 2, [&](const auto& in) {
    double latitude = kNaN, longitude = kNaN;
    if (ntv2.Interpolate(&latitude, &longitude, in[0], in[1]) < 0) return true;
    ++shifted;
    return !AnyNotFinite(in) && Finite({latitude, longitude});
  });
  EXPECT_GT(shifted, 0);

  // NADCON: Guam (13 to 14 degrees north, 144 to 146 east), shifts of half a second.
  testing::NadconGridLayout nadcon;
  nadcon.columns = 5;
  nadcon.rows = 3;
  nadcon.xmin = -216.0f;
  nadcon.dx = 0.5f;
  nadcon.ymin = 13.0f;
  nadcon.dy = 0.5f;
  nadcon.values.assign(15, 0.5f);
  ASSERT_FALSE(RecordFolder().empty());
  WriteBytes(InGlobal("GUHPGN.las"), testing::NadconFileBytes(nadcon));
  WriteBytes(InGlobal("GUHPGN.los"), testing::NadconFileBytes(nadcon));
  NadconGridSet set;
  for (const int mode : {kNad83ToHpgn}) {
    Sweep("ApplyNadcon", Values({13.4, 144.6}), 2, [&](const auto& in) {
      double latitude = kNaN, longitude = kNaN;
      if (!ApplyNadcon(latitude, longitude, set, mode, in[0], in[1])) return true;
      return !AnyNotFinite(in) && Finite({latitude, longitude});
    });
    Sweep("InvertNadcon", Values({13.4, 144.6}), 2, [&](const auto& in) {
      double latitude = kNaN, longitude = kNaN;
      if (!InvertNadcon(latitude, longitude, set, mode, in[0], in[1])) return true;
      return !AnyNotFinite(in) && Finite({latitude, longitude});
    });
  }

  // OSTN15: a pair of 5 x 5 grids near 50 degrees north, 1 degree east.
  testing::NTv2SubGridLayout layout{"OSTN15", "NONE", 180000, 183600, -7200, 0, 900, 900, {}, {}};
  testing::FillNodes(layout, [](int, int) { return std::pair{1.0, -2.0}; });
  const std::string folder = Root() + "/program/";
  std::filesystem::create_directories(folder);
  WriteBytes(folder + std::string(kOstnEtrsToOsgbFileName),
             testing::OstnFileBytes(layout, testing::OstnFileSense::kEtrsToOsgb));
  WriteBytes(folder + std::string(kOstnOsgbToEtrsFileName),
             testing::OstnFileBytes(layout, testing::OstnFileSense::kOsgbToEtrs));
  OstnGridPair pair;
  ASSERT_TRUE(LoadOstnGrids(pair, folder).ok());
  const double latitude = 50.5 * kPi / 180, longitude = 1.0 * kPi / 180;
  double easting = 0, northing = 0;
  ASSERT_TRUE(OstnForward(pair, easting, northing, latitude, longitude));
  Sweep("OstnForward", Values({latitude, longitude}), 2, [&](const auto& in) {
    double e = kNaN, n = kNaN;
    if (!OstnForward(pair, e, n, in[0], in[1])) return true;
    return !AnyNotFinite(in) && Finite({e, n});
  });
  Sweep("OstnReverse", Values({northing, easting}), 2, [&](const auto& in) {
    double back_latitude = kNaN, back_longitude = kNaN;
    if (!OstnReverse(pair, back_latitude, back_longitude, in[0], in[1])) return true;
    return !AnyNotFinite(in) && Finite({back_latitude, back_longitude});
  });
  Sweep("NorwegianPolynomial", Values({55.0, 3.0}), 2, [&](const auto& in) {
    double out_latitude = 0, out_longitude = 0;
    NorwegianPolynomial(out_latitude, out_longitude, 1, in[0], in[1]);
    return !AnyNotFinite(in) || !Finite({out_latitude, out_longitude});
  });
}

// Printing shows no number for what is none; reading gives only finite angles in range.
TEST_F(ExtremeInputs, AnglesArePrintedAndReadOnlyWhenTheyAreNumbers) {
  for (int type = ANGLE_SIGNED; type <= ANGLE_SIGNED_2; ++type) {
    for (int notation = ANGLE_PREF_DMS; notation <= ANGLE_PREF_GRADIANS; ++notation) {
      Sweep("FormatAngle", Values({0.6}), 1, [&](const auto& in) {
        const std::string text = FormatAngle(in[0], type, notation);
        return std::isfinite(in[0]) ||
               std::none_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
      });
      Sweep("ParseAngle", Values({0.6, 359.5}), 1, [&](const auto& in) {
        char typed[64];
        std::snprintf(typed, sizeof typed, "%.17g", in[0]);
        const AngleParseResult parsed = ParseAngle(typed, type, notation);
        std::string error;
        return !parsed.ok || CheckAngleRange(parsed.radians, type, error);
      });
      Sweep("CheckAngleRange", Values({0.6}), 1, [&](const auto& in) {
        std::string error;
        return !CheckAngleRange(in[0], type, error) || std::isfinite(in[0]);
      });
    }
  }
}

TEST_F(ExtremeInputs, TheSunConvergenceTraverseAndRangesFlagOrStayInRange) {
  Sweep("SunAt", Values({43200.0}), 1, [&](const auto& in) {
    const SunPosition sun = SunAt(2026, 6, 21, in[0]);
    if (!std::isfinite(in[0])) return AllNaN({sun.declination, sun.gha, sun.e_hours});
    return std::isnan(sun.gha) || (sun.gha >= 0 && sun.gha <= 2 * kPi);
  });
  CSunShot shot{FixedClock(LocalDateTime{2026, 6, 21, 12, 0, 0.0, 0, false})};
  Sweep("CSunShot::ComputeSun", Values({0.6, 43200.0}), 3, [&](const auto& in) {
    shot.m_Latitude = in[0];
    shot.m_Longitude = in[1];
    shot.m_Time = in[2];
    shot.ComputeSun();
    if (AnyNotFinite(in)) return std::isnan(shot.m_SunAzimuth);
    return std::isnan(shot.m_SunAzimuth) ||
           (shot.m_SunAzimuth >= 0 && shot.m_SunAzimuth <= 2 * kPi);
  });
  Sweep("ComputeGyro", Values({0.6, 45.0}), 3, [&](const auto& in) {
    GyroState gyro;
    gyro.m_Position.latitude = in[0];
    gyro.m_Position.longitude = in[1];
    gyro.m_TrueDirection = in[2];
    if (ComputeGyro(utm_, gyro) != ProjectionStatus::kOk)
      return std::isnan(gyro.m_GridHeading) && std::isnan(gyro.m_Position.convergence);
    return std::isfinite(in[2]) ? gyro.m_GridHeading >= 0 && gyro.m_GridHeading <= 360
                                : std::isnan(gyro.m_GridHeading);
  });
  Sweep("ComputeHeading", Values({0.2, 10.0}), 2, [&](const auto& in) {
    HeadingState heading;
    heading.m_Pitch = in[0];
    heading.m_Roll = in[1];
    ComputeHeading(heading);
    if (AnyNotFinite(in)) return std::isnan(heading.m_Heading) && std::isnan(heading.m_Tilt);
    // 2 pi in the degrees of the conventional factor 57.2957795131 is a little over 360.
    return (heading.m_Heading > 0 && heading.m_Heading <= 360 + 1e-9) ||
           (heading.m_Heading == 0 && in[0] == 0 && in[1] == 0);
  });
  SurveyPoint a{0.6, 0.05, 0, 0, 10};
  double c = 0, k = 0;
  ASSERT_EQ(utm_.GeogToGrid(a.latitude, a.longitude, &a.easting, &a.northing, &c, &k),
            ProjectionStatus::kOk);
  for (const bool grid : {true, false}) {
    Sweep("ComputeTraverse", Values({1000.0, 0.6}), 3, [&](const auto& in) {
      const TraverseObservation observation{grid, in[0], in[1], true, in[2]};
      const TraverseResult r = ComputeTraverse(utm_, a, observation);
      const std::initializer_list<double> b = {r.b.latitude, r.b.longitude, r.b.easting,
                                               r.b.northing, r.b.height};
      if (r.status != ProjectionStatus::kOk) return AllNaN(b);
      return Finite(b) && !AnyNotFinite(in);
    });
  }
  Sweep("ComputeRangeAndBearing", Values({0.6, 0.05}), 2, [&](const auto& in) {
    const SurveyPoint b{in[0], in[1], 500000, 4e6, 0};
    const RangeAndBearingResult r = ComputeRangeAndBearing(spheroid_, utm_, a, b);
    if (AnyNotFinite(in) && (r.spheroidal_ok || r.rhumb_ok)) return false;
    return (!r.spheroidal_ok || Finite({r.spheroidal.m_Range, r.spheroidal.m_BearingAB})) &&
           (!r.rhumb_ok || Finite({r.rhumb.m_Range, r.rhumb.m_BearingAB}));
  });
}

}  // namespace
}  // namespace orvale
